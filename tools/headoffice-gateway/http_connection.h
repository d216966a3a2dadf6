#pragma once
// One store's connection: its request read without any worker, event-driven on the gateway's
// network thread, under the limits; then its reply written there, whether the reply comes
// from the network thread at once or from a worker piece by piece. Every connection serves
// one request and is closed.
//
// `Stream` is the byte stream the request arrives on: beast::tcp_stream for plain HTTP, or
// beast::ssl_stream over a tcp_stream for HTTPS. Over TLS the handshake is part of reading
// the request, under the same deadline; bytes that do not open a TLS handshake (a store
// asking in plain HTTP) get a plain "400 Bad Request". The reply's bytes are the same either
// way; over TLS the connection ends with the TLS closure before the socket closes.
#include <boost/asio/post.hpp>
#include <boost/asio/ssl/error.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/core/detect_ssl.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl/ssl_stream.hpp>

#include <array>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "connection_host.h"
#include "reply_head.h"
#include "request_log.h"

namespace qor::headoffice {

template <class Stream>
struct IsTlsStream : std::false_type {};
template <class Next>
struct IsTlsStream<boost::beast::ssl_stream<Next>> : std::true_type {};

template <class Stream>
class HttpConnection final : public Connection,
                             public std::enable_shared_from_this<HttpConnection<Stream>> {
public:
    HttpConnection(Stream stream, std::string peer, ConnectionHost& host)
        : stream_(std::move(stream)), peer_(std::move(peer)), host_(host) {}

    ~HttpConnection() override { host_.connectionEnded(); }

    // Starts reading the request; on the network thread. Over TLS, `refusal` (503) answers
    // the store with that status as soon as the handshake is done, its request unread.
    void start(int refusal = 0) {
        refusal_ = refusal;
        const ConnectionLimits& limits = host_.limits();
        parser_.emplace();
        parser_->header_limit(static_cast<std::uint32_t>(limits.headBytes));
        parser_->body_limit(limits.bodyBytes);
        // One deadline for the whole request, however it trickles in.
        boost::beast::get_lowest_layer(stream_).expires_after(limits.readTime);
        host_.readingStarted(this);
        if constexpr (kTls)
            boost::beast::async_detect_ssl(
                stream_.next_layer(), buffer_,
                [self = this->shared_from_this()](boost::beast::error_code ec, bool hello) {
                    self->onFirstBytes(ec, hello);
                });
        else
            readHead();
    }

    void abortRead() override {
        if (!reading_) return;
        boost::beast::error_code ignored;
        boost::beast::get_lowest_layer(stream_).socket().cancel(ignored);
    }

    void replyNow(std::shared_ptr<const std::string> bytes, int status,
                  ReplyOutcome outcome) override {
        status_ = status;
        queue(std::move(bytes));
        finishOnNetwork(std::move(outcome));
    }

    bool send(std::string bytes) override {
        std::unique_lock lock(mutex_);
        taken_.wait(lock, [this] { return queued_ == 0 || failed_; });
        if (failed_) return false;
        ++queued_;
        lock.unlock();
        auto piece = std::make_shared<const std::string>(std::move(bytes));
        boost::asio::post(stream_.get_executor(),
                          [self = this->shared_from_this(), piece = std::move(piece)]() mutable {
                              self->queue(std::move(piece), true);
                          });
        return true;
    }

    void finish(ReplyOutcome outcome) override {
        boost::asio::post(stream_.get_executor(),
                          [self = this->shared_from_this(), outcome = std::move(outcome)]() mutable {
                              self->finishOnNetwork(std::move(outcome));
                          });
    }

    const std::string& peer() const override { return peer_; }

private:
    using Clock = std::chrono::steady_clock;

    void doneReading() {
        if (!reading_) return;
        reading_ = false;
        host_.readingEnded(this);
    }

    static constexpr bool kTls = IsTlsStream<Stream>::value;

    // TLS only: the first bytes have come; a TLS handshake goes on with them.
    void onFirstBytes(boost::beast::error_code ec, bool hello) {
        if (ec) return readFailed(ec);
        if (!hello) return refuse(400);
        stream_.async_handshake(
            boost::asio::ssl::stream_base::server, buffer_.data(),
            [self = this->shared_from_this()](boost::beast::error_code ec, std::size_t used) {
                self->onHandshake(ec, used);
            });
    }

    void onHandshake(boost::beast::error_code ec, std::size_t) {
        // Nothing else arrives before the handshake ends: the buffer held handshake bytes only.
        buffer_.clear();
        // A failed handshake has no channel to answer on.
        if (ec) return close();
        inTls_ = true;
        if (refusal_) return refuse(refusal_);
        readHead();
    }

    void readHead() {
        boost::beast::http::async_read_header(
            stream_, buffer_, *parser_,
            [self = this->shared_from_this()](boost::beast::error_code ec, std::size_t) {
                self->onHead(ec);
            });
    }

    // Where the bytes go: over TLS once the handshake is done, else on the connection as it is.
    template <class Buffers, class Handler>
    void writeBytes(const Buffers& buffers, Handler&& handler) {
        if constexpr (kTls) {
            if (!inTls_)
                return boost::asio::async_write(boost::beast::get_lowest_layer(stream_), buffers,
                                                std::forward<Handler>(handler));
        }
        boost::asio::async_write(stream_, buffers, std::forward<Handler>(handler));
    }

    void onHead(boost::beast::error_code ec) {
        if (ec) return readFailed(ec);
        if (parser_->get().target().size() > kLongestTarget) return refuse(414);
        const auto expect = parser_->get()[boost::beast::http::field::expect];
        if (boost::beast::iequals(expect, "100-continue") && !parser_->is_done()) {
            // The store waits for this before it sends the body.
            auto interim = std::make_shared<const std::string>(kContinueReply);
            writeBytes(
                boost::asio::buffer(*interim),
                [self = this->shared_from_this(), interim](boost::beast::error_code ec, std::size_t) {
                    if (ec) return self->close();
                    self->readBody();
                });
            return;
        }
        readBody();
    }

    void readBody() {
        boost::beast::http::async_read(
            stream_, buffer_, *parser_,
            [self = this->shared_from_this()](boost::beast::error_code ec, std::size_t) {
                self->onRequest(ec);
            });
    }

    void onRequest(boost::beast::error_code ec) {
        if (ec) return readFailed(ec);
        doneReading();
        boost::beast::get_lowest_layer(stream_).expires_never();
        arrivedAt_ = Clock::now();
        arrivedWhen_ = std::time(nullptr);
        auto& message = parser_->get();
        GatewayRequest request;
        request.target = std::string(message.target());
        request.contentType = std::string(message[boost::beast::http::field::content_type]);
        request.body = std::move(message.body());
        const std::string method(message.method_string());
        parser_.reset();
        buffer_ = boost::beast::flat_buffer();
        host_.requestRead(this->shared_from_this(), method, std::move(request));
    }

    // A request not read whole: past the time limit, the store gone, or refused.
    void readFailed(boost::beast::error_code ec) {
        namespace http = boost::beast::http;
        doneReading();
        if (ec == http::error::header_limit) return refuse(431);
        if (ec == http::error::body_limit) return refuse(413);
        // Nothing to answer: the time ran out (the line is stalled), the store left, or the
        // gateway is stopping.
        if (ec == boost::beast::error::timeout || ec == http::error::end_of_stream ||
            ec == http::error::partial_message || ec == boost::asio::error::operation_aborted ||
            ec.category() == boost::asio::error::get_system_category() ||
            ec.category() == boost::asio::error::get_misc_category() ||
            ec.category() == boost::asio::error::get_ssl_category() ||
            ec.category() == boost::asio::ssl::error::get_stream_category())
            return close();
        refuse(400);
    }

    void refuse(int status) {
        doneReading();
        // The rest of the request may still be arriving: closing on it unread would reset
        // the connection, and the store could lose the refusal before reading it.
        linger_ = true;
        arrivedAt_ = Clock::now();
        arrivedWhen_ = std::time(nullptr);
        replyNow(std::make_shared<const std::string>(emptyReply(status)), status, {});
    }

    // On the network thread: `piece` joins the bytes to go out.
    void queue(std::shared_ptr<const std::string> piece, bool fromWorker = false) {
        if (!fromWorker) {
            std::lock_guard lock(mutex_);
            ++queued_;
        }
        if (writeFailed()) return pieceDone(false);
        pieces_.push_back(std::move(piece));
        if (!writing_) writeNext();
    }

    void writeNext() {
        writing_ = true;
        boost::beast::get_lowest_layer(stream_).expires_after(host_.limits().writeWait);
        writeBytes(
            boost::asio::buffer(*pieces_.front()),
            [self = this->shared_from_this()](boost::beast::error_code ec, std::size_t) {
                self->onWritten(ec);
            });
    }

    void onWritten(boost::beast::error_code ec) {
        writing_ = false;
        pieces_.pop_front();
        pieceDone(!ec);
        if (ec) pieces_.clear();
        if (!pieces_.empty() && !ec) return writeNext();
        if (finishing_) complete();
    }

    void pieceDone(bool sent) {
        {
            std::lock_guard lock(mutex_);
            --queued_;
            if (!sent) failed_ = true;
        }
        taken_.notify_all();
    }

    bool writeFailed() {
        std::lock_guard lock(mutex_);
        return failed_;
    }

    void finishOnNetwork(ReplyOutcome outcome) {
        outcome_ = std::move(outcome);
        finishing_ = true;
        if (!writing_ && pieces_.empty()) complete();
    }

    // The reply is out (or the store gone): its log line, then the connection closes.
    void complete() {
        if (completed_) return;
        completed_ = true;
        RequestRecord record;
        record.when = arrivedWhen_;
        record.peer = peer_;
        record.status = status_;
        record.rows = outcome_.rows;
        record.elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - arrivedAt_);
        record.error = std::move(outcome_.error);
        record.cutOff = outcome_.cutOff;
        record.cached = outcome_.cached;
        writeLogLine(record);
        if constexpr (kTls) {
            // A reply cut off ends as over plain HTTP: without a closure that vouches for it.
            if (inTls_ && !record.cutOff && !writeFailed()) return endTls();
        }
        if (linger_) return lingerThenClose();
        close();
    }

    // TLS's closure goes out after the reply, so that the end of the reply is known to be
    // its end; the store's closure, or its closing the connection, is awaited within the
    // write wait.
    void endTls() {
        boost::beast::get_lowest_layer(stream_).expires_after(host_.limits().writeWait);
        stream_.async_shutdown([self = this->shared_from_this()](boost::beast::error_code) {
            if (self->linger_) return self->lingerThenClose();
            self->close();
        });
    }

    // Sends the end of the reply, then reads and drops what the store still sends, for a
    // short while, before closing.
    void lingerThenClose() {
        boost::beast::error_code ignored;
        auto& lowest = boost::beast::get_lowest_layer(stream_);
        lowest.socket().shutdown(boost::asio::socket_base::shutdown_send, ignored);
        lowest.expires_after(kLingerTime);
        drained_ = std::make_unique<std::array<char, 4096>>();
        drain();
    }

    void drain() {
        boost::beast::get_lowest_layer(stream_).async_read_some(
            boost::asio::buffer(*drained_),
            [self = this->shared_from_this()](boost::beast::error_code ec, std::size_t) {
                if (ec) return self->close();
                self->drain();
            });
    }

    void close() {
        doneReading();
        auto& socket = boost::beast::get_lowest_layer(stream_).socket();
        boost::beast::error_code ignored;
        socket.shutdown(boost::asio::socket_base::shutdown_both, ignored);
        socket.close(ignored);
    }

    static constexpr std::size_t kLongestTarget = 8192;
    static constexpr std::chrono::seconds kLingerTime{2};

    Stream stream_;
    std::string peer_;
    ConnectionHost& host_;
    boost::beast::flat_buffer buffer_;
    std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> parser_;
    bool reading_ = true;
    bool linger_ = false;
    bool inTls_ = false;  // TLS streams: the handshake is done
    int refusal_ = 0;
    std::unique_ptr<std::array<char, 4096>> drained_;  // while lingering

    // The reply, on the network thread.
    std::deque<std::shared_ptr<const std::string>> pieces_;
    bool writing_ = false, finishing_ = false, completed_ = false;
    int status_ = 200;
    ReplyOutcome outcome_;
    Clock::time_point arrivedAt_ = Clock::now();
    std::time_t arrivedWhen_ = std::time(nullptr);

    // Between a worker's send() and the network thread.
    std::mutex mutex_;
    std::condition_variable taken_;
    int queued_ = 0;
    bool failed_ = false;
};

}  // namespace qor::headoffice
