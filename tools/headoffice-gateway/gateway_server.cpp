#include "gateway_server.h"

#include <httplib.h>

#include <chrono>
#include <optional>
#include <stdexcept>

#include "gateway_reply.h"
#include "head_office_database.h"
#include "request_fields.h"
#include "request_log.h"
#include "statement_check.h"

namespace qor::headoffice {
namespace {

// What the log line of the request being served on this thread needs. A request is served
// on one pool thread from routing to logging, so a thread-local record follows it.
struct RequestInFlight {
    std::optional<std::chrono::steady_clock::time_point> started;
    std::time_t when = 0;
    std::optional<std::size_t> rows;
    std::string error;
};
thread_local RequestInFlight inFlight;

constexpr const char* kBadAccount = "Invalid user name or password";
constexpr const char* kNoStatement = "Missing field 'sql'";

}  // namespace

GatewayServer::GatewayServer(Account account, HeadOfficeDatabase& database, int threads)
    : account_(std::move(account)), database_(database),
      server_(std::make_unique<httplib::Server>()) {
    const auto poolSize = static_cast<std::size_t>(threads);
    server_->new_task_queue = [poolSize] { return new httplib::ThreadPool(poolSize); };
    server_->set_payload_max_length(16 * 1024 * 1024);

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
            ds::Table table = database_.select(checked.statement);
            body = packetReply(table);
            inFlight.rows = table.rows.size();
        } catch (const std::exception& e) {
            refuse(e.what());
        }
    }
    response.status = 200;
    response.set_content(body, kReplyContentType);
}

}  // namespace qor::headoffice
