#include "gateway/FrmDataModHttp.h"

#include <chrono>
#include <ctime>
#include <functional>
#include <optional>
#include <stdexcept>
#include <thread>

#include "dataset/packet.h"
#include "gateway/early_packet_reader.h"
#include "gateway/exchange_progress.h"
#include "gateway/gateway_settings.h"
#include "gateway/gateway_statement.h"
#include "gateway/http_poster.h"
#include "gateway/multipart_request.h"
#include "gateway/reply_dump.h"
#include "text/cp950.h"
#include "text/errors.h"
#include "text/local_time.h"

namespace qor::gateway {

struct TDataModHttp::Http {
    Http(int timeoutMs, TlsTrust trust)
        : poster(std::chrono::milliseconds(timeoutMs), std::move(trust)) {}

    // The boundary of a body built now. Two calls within one millisecond would share it, so
    // the second waits for the clock to move on: every request starts with a new boundary.
    std::string nextBoundary() {
        while (true) {
            auto now = std::chrono::system_clock::now();
            std::time_t seconds = std::chrono::system_clock::to_time_t(now);
            const std::tm local = text::localTime(seconds);
            auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                          now.time_since_epoch()).count() % 1000;
            std::string boundary = boundaryFor(local, static_cast<int>(ms));
            if (boundary != lastBoundary) {
                lastBoundary = boundary;
                return boundary;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }

    HttpPoster poster;  // IdHTTP1
    std::string lastBoundary;
};

TDataModHttp::TDataModHttp(std::string executableDir, std::string dumpDir, Dialogs& dialogs,
                           int timeoutMs)
    : dumpDir_(std::move(dumpDir)), dialogs_(dialogs) {
    GatewaySettings settings = readGatewaySettings(executableDir);
    http_ = std::make_unique<Http>(timeoutMs, TlsTrust{settings.caFile});
    host_ = settings.host;
    userName_ = settings.userName;
    password_ = settings.password;
    port_ = settings.port;
    driver_ = settings.driver;
    queryUrl_ = settings.queryUrl();
}

TDataModHttp::~TDataModHttp() = default;

namespace {

// Marks the one exchange the module runs at a time.
class ExchangeRunning {
public:
    explicit ExchangeRunning(bool& flag) : flag_(flag) { flag_ = true; }
    ~ExchangeRunning() { flag_ = false; }
    ExchangeRunning(const ExchangeRunning&) = delete;
    ExchangeRunning& operator=(const ExchangeRunning&) = delete;

private:
    bool& flag_;
};

// What ds::loadPacket does with a packet's text, for a table read from it already.
void openOnTable(ds::Dataset& target, ds::Table table) {
    target.close();
    target.clearFields();
    target.openWith(std::move(table));
}

}  // namespace

void TDataModHttp::OpenRemoteQuery(ds::Dataset& target, const std::string& statement) {
    using Clock = std::chrono::steady_clock;
    const std::string sql = gatewayStatement(statement);
    const std::string boundary = http_->nextBoundary();
    const std::string body = multipartBody(
        boundary, {{"user_name", userName_}, {"password", password_}, {"sql", sql}});
    const std::string address =
        queryUrl_ + "?user_name=" + userName_ + "&password=" + password_;

    stepTimes_ = {};
    const auto started = Clock::now();
    // Reads the rows while the gateway is still sending them; the target is only touched
    // once the whole reply is in and dumped, so every ending stays as it was. The exchange
    // and the dump may run on a thread of their own (WorkProgress::runAside): they touch
    // nothing but the HTTP client, the reader and the dump file.
    EarlyPacketReader early;
    std::string reply;
    const auto exchange = [&](WorkProgress* progress) {
        std::optional<ExchangeProgress> shown;
        BodyWatcher* watcher = &early;
        std::function<void()> whileWaiting;
        if (progress) {
            watcher = &shown.emplace(early, *progress);
            whileWaiting = [&shown] { shown->waiting(); };
        }
        reply = http_->poster.post(address, boundary, body, watcher, std::move(whileWaiting));
        stepTimes_.transfer = Clock::now() - started;
        writeReplyDump(dumpDir_, reply);
    };
    // The interface goes on answering during an exchange; nothing it does may start another.
    if (exchanging_) throw std::logic_error("a gateway exchange is running already");
    try {
        const ExchangeRunning running(exchanging_);
        if (progress_)
            progress_->runAside([&](WorkProgress& aside) { exchange(&aside); });
        else
            exchange(nullptr);
    } catch (const SilentAbort&) {
        throw;  // stopped by the staff: nothing to tell them
    } catch (const std::exception& failure) {
        dialogs_.showMessage(queryUrl_ + QOR_BIG5("錯誤的連線: ") + failure.what());
        throw SilentAbort();
    }
    const auto dumped = Clock::now();
    stepTimes_.dump = dumped - started - stepTimes_.transfer;

    if (reply.starts_with("<RESULT>")) throw Error(reply);

    try {
        if (std::optional<ds::Table> table = early.finish(reply))
            openOnTable(target, std::move(*table));
        else
            ds::loadPacket(target, reply);
    } catch (const SilentAbort&) {
        throw;  // raised by the target's own handlers, which have told the user already
    } catch (const std::exception&) {
        try {
            target.close();
            target.clearFields();
        } catch (const std::exception&) {
        }
        throw Error(reply);
    }
    stepTimes_.load = Clock::now() - dumped;
}

}  // namespace qor::gateway
