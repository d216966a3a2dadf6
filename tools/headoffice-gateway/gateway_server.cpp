#include "gateway_server.h"

#include <httplib.h>

#include <chrono>
#include <optional>
#include <stdexcept>

#include "gateway_reply.h"
#include "head_office_database.h"
#include "limited_http_server.h"
#include "packet_stream.h"
#include "reply_pacing.h"
#include "request_fields.h"
#include "request_log.h"
#include "statement_check.h"

namespace qor::headoffice {
namespace {

// What the log line of the request being served on this thread needs. A request is served
// on one pool thread from routing to logging, its reply's pieces included, so a
// thread-local record follows it.
struct RequestInFlight {
    std::optional<std::chrono::steady_clock::time_point> started;
    std::time_t when = 0;
    std::optional<std::size_t> rows;
    std::string error;
    bool cutOff = false;
};
thread_local RequestInFlight inFlight;

constexpr const char* kBadAccount = "Invalid user name or password";
constexpr const char* kNoStatement = "Missing field 'sql'";

// Room for the request line and headers beside the body.
constexpr std::size_t kHeadAllowance = 64 * 1024;

ConnectionLimits limitsFor(const ServingOptions& options) {
    ConnectionLimits limits;
    limits.readTime = options.readTime;
    limits.readBytes = options.maxRequestBody + kHeadAllowance;
    return limits;
}

}  // namespace

GatewayServer::GatewayServer(Account account, HeadOfficeDatabase& database,
                             const ServingOptions& options)
    : account_(std::move(account)), database_(database), delay_(options.delay),
      server_(std::make_unique<LimitedHttpServer>(limitsFor(options))) {
    const auto poolSize = static_cast<std::size_t>(options.threads);
    server_->new_task_queue = [poolSize] { return new httplib::ThreadPool(poolSize); };
    server_->set_payload_max_length(options.maxRequestBody);

    server_->set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        inFlight = RequestInFlight{};
        inFlight.started = std::chrono::steady_clock::now();
        inFlight.when = std::time(nullptr);
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server_->Post(R"(/oVat/([^/]+)/index\.php)",
                  [this](const httplib::Request& request, httplib::Response& response) {
                      answer(request, response);
                  });
    server_->set_logger([](const httplib::Request& request, const httplib::Response& response) {
        RequestRecord record;
        const auto now = std::chrono::steady_clock::now();
        record.when = inFlight.started ? inFlight.when : std::time(nullptr);
        record.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            now - inFlight.started.value_or(now));
        record.peer = request.remote_addr + ":" + std::to_string(request.remote_port);
        record.status = response.status;
        record.rows = inFlight.rows;
        record.error = inFlight.error;
        record.cutOff = inFlight.cutOff;
        writeLogLine(record);
        inFlight = RequestInFlight{};
    });
}

GatewayServer::~GatewayServer() = default;

int GatewayServer::bind(const std::string& address, int port) {
    int bound = port;
    if (port == 0) bound = server_->bind_to_any_port(address);
    else if (!server_->bind_to_port(address, port)) bound = -1;
    if (bound <= 0)
        throw std::runtime_error("cannot listen on " + address + ":" + std::to_string(port));
    server_->deepenListenQueue();
    return bound;
}

void GatewayServer::run() {
    if (!stopRequested_) server_->listen_after_bind();
}

void GatewayServer::stop() {
    stopRequested_ = true;
    server_->stop();
}

void GatewayServer::answer(const httplib::Request& request, httplib::Response& response) {
    response.status = 200;
    std::string body;
    auto refuse = [&](std::string message) {
        body = resultReply(message);
        inFlight.error = std::move(message);
    };

    std::optional<std::string> sql;
    if (!accountMatches(request, account_)) {
        refuse(kBadAccount);
    } else if (!(sql = formField(request, "sql"))) {
        refuse(kNoStatement);
    } else if (CheckedStatement checked = checkStatement(*sql); !checked.accepted) {
        refuse(checked.refusal);
    } else {
        try {
            auto stream = std::make_shared<PacketStream>(database_.open(checked.statement));
            inFlight.rows = stream->rowCount();
            if (!stream->whole()) return sendPieces(response, std::move(stream));
            body = stream->takeWholePacket();
        } catch (const std::exception& e) {
            inFlight.rows.reset();
            refuse(e.what());
        }
    }
    sendWhole(response, std::move(body));
}

void GatewayServer::sendWhole(httplib::Response& response, std::string body) const {
    if (delay_.count() <= 0) return response.set_content(body, kReplyContentType);
    auto text = std::make_shared<const std::string>(std::move(body));
    auto pacing = std::make_shared<ReplyPacing>(delay_);
    const std::size_t piece = ReplyPacing::pieceSize(text->size());
    response.set_content_provider(
        text->size(), kReplyContentType,
        [text, pacing, piece](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            pacing->beforePiece();
            return sink.write(text->data() + offset, std::min(piece, length));
        });
}

// Chunked: a reply cut off by a failed read then lacks its last chunk as well as its
// packet's end, and a store reading it reports a broken connection instead of rows.
void GatewayServer::sendPieces(httplib::Response& response,
                               std::shared_ptr<PacketStream> stream) const {
    auto pacing = std::make_shared<ReplyPacing>(delay_);
    response.set_chunked_content_provider(
        kReplyContentType, [stream, pacing](std::size_t, httplib::DataSink& sink) {
            std::string piece;
            try {
                if (!stream->nextPiece(piece)) {
                    sink.done();
                    return true;
                }
            } catch (const std::exception& e) {
                inFlight.error = e.what();
                inFlight.cutOff = true;
                return false;
            }
            inFlight.rows = stream->rowCount();
            pacing->beforePiece();
            return sink.write(piece.data(), piece.size());
        });
}

}  // namespace qor::headoffice
