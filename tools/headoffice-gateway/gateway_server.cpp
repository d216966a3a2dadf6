#include "gateway_server.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>

#include <array>
#include <optional>
#include <stdexcept>
#include <unordered_set>

#include "gateway_reply.h"
#include "head_office_database.h"
#include "http_connection.h"
#include "reply_cache.h"
#include "reply_head.h"
#include "request_router.h"
#include "statement_reply.h"
#include "tls_server_context.h"
#include "worker_pool.h"

namespace qor::headoffice {

namespace net = boost::asio;
using tcp = net::ip::tcp;

namespace {

// Room for the request line and headers beside the body.
constexpr std::size_t kHeadAllowance = 64 * 1024;

ConnectionLimits limitsFor(const ServingOptions& options) {
    ConnectionLimits limits;
    limits.readTime = options.readTime;
    limits.writeWait = options.writeWait;
    limits.headBytes = kHeadAllowance;
    limits.bodyBytes = options.maxRequestBody;
    return limits;
}

std::optional<net::ssl::context> tlsContextFor(const ServingOptions& options) {
    if (options.tlsCert.empty() && options.tlsKey.empty()) return std::nullopt;
    return serverTlsContext(options.tlsCert, options.tlsKey);
}

// A checked statement the allow list does not hold: answered at once, nothing runs.
RoutedRequest notAllowed(std::string_view statement) {
    static constexpr std::string_view kNotAllowed = "The statement is not allowed";
    RoutedRequest routed;
    const std::string body = resultReply(kNotAllowed);
    routed.reply = wholeReplyHead(body.size()) + body;
    routed.error = std::string(kNotAllowed) + ": " + statementShape(statement);
    return routed;
}

std::string describe(const tcp::endpoint& endpoint) {
    return endpoint.address().to_string() + ":" + std::to_string(endpoint.port());
}

}  // namespace

class GatewayServer::Impl final : public ConnectionHost {
public:
    Impl(Account account, HeadOfficeDatabase& database, const ServingOptions& options)
        : account_(std::move(account)), database_(database), options_(options),
          limits_(limitsFor(options)), tls_(tlsContextFor(options)), acceptor_(io_),
          cache_(options.replyCacheTime, options.replyCacheBytes), workers_(options.threads) {}

    int bind(const std::string& address, int port) {
        try {
            const tcp::endpoint endpoint(net::ip::make_address(address),
                                         static_cast<unsigned short>(port));
            acceptor_.open(endpoint.protocol());
            acceptor_.set_option(net::socket_base::reuse_address(true));
            acceptor_.bind(endpoint);
            // Many stores connect at once in the morning.
            acceptor_.listen(net::socket_base::max_listen_connections);
            return acceptor_.local_endpoint().port();
        } catch (const std::exception&) {
            throw std::runtime_error("cannot listen on " + address + ":" + std::to_string(port));
        }
    }

    void run() {
        net::post(io_, [this] {
            if (!stopping_) accept();
        });
        io_.run();
    }

    void stop() {
        stopRequested_ = true;
        net::post(io_, [this] { stopOnNetwork(); });
    }

    bool stopRequested() const { return stopRequested_; }

    // ConnectionHost
    const ConnectionLimits& limits() const override { return limits_; }
    void readingStarted(Connection* connection) override { reading_.insert(connection); }
    void readingEnded(Connection* connection) override { reading_.erase(connection); }
    void connectionEnded() override { --open_; }

    void requestRead(std::shared_ptr<Connection> connection, std::string_view method,
                     GatewayRequest request) override {
        RoutedRequest routed = routeRequest(method, request, account_);
        if (routed.statement && options_.allowList && !options_.allowList->allows(*routed.statement))
            routed = notAllowed(*routed.statement);
        if (!routed.statement) {
            ReplyOutcome outcome;
            outcome.error = std::move(routed.error);
            connection->replyNow(std::make_shared<const std::string>(std::move(routed.reply)),
                                 routed.status, std::move(outcome));
            return;
        }
        const std::string& statement = *routed.statement;
        const auto now = ReplyCache::Clock::now();
        ReplyCache::Lookup found = cache_.lookup(
            statement,
            [this, connection, statement](std::shared_ptr<const CachedReply> reply) {
                if (reply) answerFromCache(*connection, reply);
                else runStatement(connection, statement, false);
            },
            now);
        if (found.reply) answerFromCache(*connection, found.reply);
        else if (found.run) runStatement(std::move(connection), statement, cache_.enabled());
    }

private:
    void accept() {
        acceptor_.async_accept([this](boost::system::error_code ec, tcp::socket socket) {
            if (ec == net::error::operation_aborted || stopping_) return;
            if (!ec) admit(std::move(socket));
            accept();
        });
    }

    void admit(tcp::socket socket) {
        boost::system::error_code ec;
        const tcp::endpoint remote = socket.remote_endpoint(ec);
        if (ec) return;
        // Replies go out in pieces; without this the last small piece of each would wait
        // for the store's acknowledgement of the one before.
        socket.set_option(tcp::no_delay(true), ec);
        // A TLS store can read the refusal only inside TLS: it gets the handshake first.
        const bool refused = open_ >= options_.maxConnections;
        if (refused && !tls_) return refuseConnection(std::move(socket), remote);
        ++open_;
        boost::beast::tcp_stream stream(std::move(socket));
        if (tls_) {
            using TlsStream = boost::beast::ssl_stream<boost::beast::tcp_stream>;
            std::make_shared<HttpConnection<TlsStream>>(TlsStream(std::move(stream), *tls_),
                                                        describe(remote), *this)
                ->start(refused ? 503 : 0);
            return;
        }
        std::make_shared<HttpConnection<boost::beast::tcp_stream>>(std::move(stream),
                                                                   describe(remote), *this)
            ->start();
    }

    // Past the open-connection limit: 503 at once, the request left unread. What the store
    // still sends is read and dropped until it closes, a second at most, so closing does not
    // reset the connection before the store has read the refusal.
    void refuseConnection(tcp::socket socket, const tcp::endpoint& remote) {
        struct Refused {
            explicit Refused(tcp::socket s) : socket(std::move(s)), timer(socket.get_executor()) {}
            tcp::socket socket;
            net::steady_timer timer;
            std::array<char, 1024> dropped;
        };
        static const std::string reply = emptyReply(503);
        auto refused = std::make_shared<Refused>(std::move(socket));
        net::async_write(refused->socket, net::buffer(reply),
                         [refused](boost::system::error_code ec, std::size_t) {
                             boost::system::error_code ignored;
                             if (ec) {
                                 refused->socket.close(ignored);
                                 return;
                             }
                             refused->socket.shutdown(tcp::socket::shutdown_send, ignored);
                             refused->timer.expires_after(std::chrono::seconds(1));
                             refused->timer.async_wait([refused](boost::system::error_code) {
                                 boost::system::error_code ignored;
                                 refused->socket.close(ignored);
                             });
                             drainRefused(refused);
                         });
        RequestRecord record;
        record.when = std::time(nullptr);
        record.peer = describe(remote);
        record.status = 503;
        writeLogLine(record);
    }

    template <class Refused>
    static void drainRefused(std::shared_ptr<Refused> refused) {
        refused->socket.async_read_some(
            net::buffer(refused->dropped), [refused](boost::system::error_code ec, std::size_t) {
                if (!ec) return drainRefused(refused);
                boost::system::error_code ignored;
                refused->timer.cancel(ignored);
                refused->socket.close(ignored);
            });
    }

    void answerFromCache(Connection& connection, const std::shared_ptr<const CachedReply>& reply) {
        ReplyOutcome outcome;
        outcome.rows = reply->rows;
        outcome.cached = true;
        // The bytes stay the cache's; the connection holds them while it sends.
        connection.replyNow(std::shared_ptr<const std::string>(reply, &reply->bytes), 200,
                            std::move(outcome));
    }

    void runStatement(std::shared_ptr<Connection> connection, std::string statement, bool keep) {
        // The network thread runs on until the job's reply is out, also while stopping.
        auto guard = std::make_shared<net::executor_work_guard<net::io_context::executor_type>>(
            io_.get_executor());
        const auto started = ReplyCache::Clock::now();
        workers_.post([this, connection = std::move(connection), statement = std::move(statement),
                       keep, started, guard]() mutable {
            std::optional<ReplyCapture> capture;
            if (keep) capture.emplace(cache_.maxBytes());
            sendStatementReply(database_, statement, options_.delay, *connection,
                               capture ? &*capture : nullptr);
            if (!keep) return;
            std::shared_ptr<const CachedReply> reply;
            if (capture->usable())
                reply = std::make_shared<const CachedReply>(
                    CachedReply{std::move(capture->bytes), capture->rows});
            net::post(io_, [this, statement = std::move(statement), reply = std::move(reply),
                            started, guard] {
                cache_.complete(statement, reply, started);
            });
        });
    }

    void stopOnNetwork() {
        if (stopping_) return;
        stopping_ = true;
        boost::system::error_code ignored;
        acceptor_.close(ignored);
        // A copy: aborting a read takes the connection off the list.
        const std::vector<Connection*> reading(reading_.begin(), reading_.end());
        for (Connection* connection : reading) connection->abortRead();
    }

    Account account_;
    HeadOfficeDatabase& database_;
    ServingOptions options_;
    ConnectionLimits limits_;
    std::optional<net::ssl::context> tls_;  // HTTPS when set
    net::io_context io_{1};
    tcp::acceptor acceptor_;
    ReplyCache cache_;
    std::unordered_set<Connection*> reading_;
    std::atomic<std::size_t> open_{0};
    std::atomic<bool> stopRequested_{false};
    bool stopping_ = false;
    // Last, so it ends first: queued statements are answered while the rest still stands.
    WorkerPool workers_;
};

GatewayServer::GatewayServer(Account account, HeadOfficeDatabase& database,
                             const ServingOptions& options)
    : impl_(std::make_unique<Impl>(std::move(account), database, options)) {}

GatewayServer::~GatewayServer() = default;

int GatewayServer::bind(const std::string& address, int port) { return impl_->bind(address, port); }

void GatewayServer::run() {
    if (!impl_->stopRequested()) impl_->run();
}

void GatewayServer::stop() { impl_->stop(); }

}  // namespace qor::headoffice
