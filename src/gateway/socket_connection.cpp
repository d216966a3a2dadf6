#include "gateway/socket_connection.h"

#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/asio/write.hpp>

#include <algorithm>
#include <optional>

#include "gateway/transport_failure.h"
#include "text/system_text.h"

namespace qor::gateway {

namespace asio = boost::asio;
using asio::ip::tcp;
using boost::system::error_code;

struct SocketConnection::Impl {
    asio::io_context io;
    tcp::socket socket{io};
    // Inside TLS, reads and writes go through the stream over the socket.
    std::optional<asio::ssl::context> tlsContext;
    std::optional<asio::ssl::stream<tcp::socket&>> tls;
    std::function<void()> whileWaiting;

    // Runs `use` with the stream the bytes go through.
    template <class Use>
    void withStream(Use use) {
        if (tls)
            use(*tls);
        else
            use(socket);
    }

    // Runs the operation that `start` begins until it completes or `limit` passes; on time
    // out the operation is cancelled and the socket closed. Returns false on time out. With
    // a hook the wait goes in slices, the hook between them; its exception abandons the
    // operation the same way and passes on.
    template <class Start>
    bool runWithin(std::chrono::milliseconds limit, Start start) {
        bool done = false;
        io.restart();
        start(done);
        try {
            if (waitFor(done, limit)) return true;
        } catch (...) {
            abandon();
            throw;
        }
        abandon();
        return false;
    }

    bool waitFor(const bool& done, std::chrono::milliseconds limit) {
        if (!whileWaiting) {
            io.run_for(limit.count() > 0 ? limit : std::chrono::milliseconds(0));
            return done;
        }
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (true) {
            const auto left = deadline - std::chrono::steady_clock::now();
            io.run_for(std::min<std::chrono::steady_clock::duration>(
                std::max<std::chrono::steady_clock::duration>(left, {}), kWaitSlice));
            if (done) return true;
            if (left <= kWaitSlice) return false;
            whileWaiting();
        }
    }

    // Gives the pending operation up; its handler runs (cancelled) before this returns.
    void abandon() {
        error_code ignored;
        socket.cancel(ignored);
        socket.close(ignored);
        io.restart();
        io.run();  // lets the cancelled handler finish
    }
};

namespace {

std::string systemText(const error_code& error) {
    std::string text = text::systemErrorText(static_cast<std::error_code>(error));
    if (!text.empty() && text.back() != '.') text += '.';
    return text;
}

}  // namespace

SocketConnection::SocketConnection() : d_(std::make_unique<Impl>()) {}
SocketConnection::~SocketConnection() { close(); }

void SocketConnection::connect(const std::string& host, unsigned short port,
                               std::chrono::milliseconds limit, const TlsTrust* tls) {
    close();
    // Name lookup is synchronous: the gateway is normally named by its address.
    error_code error;
    tcp::resolver resolver(d_->io);
    auto endpoints = resolver.resolve(host, std::to_string(port),
                                      tcp::resolver::numeric_service, error);
    if (error) throw TransportFailure(systemText(error));

    bool finished = d_->runWithin(limit, [&](bool& done) {
        asio::async_connect(d_->socket, endpoints, [&](const error_code& e, const tcp::endpoint&) {
            error = e;
            done = true;
        });
    });
    if (!finished) throw TransportFailure("Connect timed out.");
    if (error == asio::error::connection_refused) {
        close();
        throw TransportFailure("Connection refused.");
    }
    if (error) {
        close();
        throw TransportFailure(systemText(error));
    }
    d_->socket.set_option(tcp::no_delay(true), error);
    if (tls) startTls(host, *tls, limit);
}

namespace {

// The context of one connection: TLS 1.2 at least, the peer verified against what is trusted.
asio::ssl::context tlsContextFor(const TlsTrust& trust) {
    asio::ssl::context context(asio::ssl::context::tls_client);
    SSL_CTX_set_min_proto_version(context.native_handle(), TLS1_2_VERSION);
    context.set_verify_mode(asio::ssl::verify_peer);
    error_code error;
    if (trust.caFile.empty())
        context.set_default_verify_paths(error);
    else
        context.load_verify_file(trust.caFile, error);
    if (error) throw TransportFailure("Cannot read the CA file " + trust.caFile + ".");
    return context;
}

// The certificate must name `host`: its DNS name, or its IP address when it is one.
void expectName(SSL* ssl, const std::string& host) {
    error_code error;
    asio::ip::make_address(host, error);
    X509_VERIFY_PARAM* param = SSL_get0_param(ssl);
    if (!error)
        X509_VERIFY_PARAM_set1_ip_asc(param, host.c_str());
    else
        SSL_set1_host(ssl, host.c_str());
    SSL_set_tlsext_host_name(ssl, host.c_str());  // the name the server picks its certificate by
}

}  // namespace

void SocketConnection::startTls(const std::string& host, const TlsTrust& trust,
                                std::chrono::milliseconds limit) {
    try {
        d_->tlsContext.emplace(tlsContextFor(trust));
    } catch (...) {
        close();
        throw;
    }
    d_->tls.emplace(d_->socket, *d_->tlsContext);
    SSL* ssl = d_->tls->native_handle();
    expectName(ssl, host);
    error_code error;
    const bool finished = d_->runWithin(limit, [&](bool& done) {
        d_->tls->async_handshake(asio::ssl::stream_base::client, [&](const error_code& e) {
            error = e;
            done = true;
        });
    });
    if (finished && !error) return;
    const long verified = SSL_get_verify_result(ssl);
    close();
    if (!finished) throw TransportFailure("TLS handshake timed out.");
    if (verified != X509_V_OK)
        throw TransportFailure(std::string("certificate verify failed (") +
                               X509_verify_cert_error_string(verified) + ")");
    throw TransportFailure(systemText(error));
}

void SocketConnection::write(std::string_view bytes, std::chrono::milliseconds limit) {
    error_code error;
    bool finished = d_->runWithin(limit, [&](bool& done) {
        d_->withStream([&](auto& stream) {
            asio::async_write(stream, asio::buffer(bytes.data(), bytes.size()),
                              [&](const error_code& e, std::size_t) {
                                  error = e;
                                  done = true;
                              });
        });
    });
    if (!finished) throw TransportFailure("Write timed out.");
    if (error) throw TransportFailure(systemText(error));
}

std::size_t SocketConnection::readSome(char* buffer, std::size_t size,
                                       std::chrono::milliseconds limit) {
    error_code error;
    std::size_t got = 0;
    bool finished = d_->runWithin(limit, [&](bool& done) {
        d_->withStream([&](auto& stream) {
            stream.async_read_some(asio::buffer(buffer, size),
                                   [&](const error_code& e, std::size_t n) {
                                       error = e;
                                       got = n;
                                       done = true;
                                   });
        });
    });
    if (!finished) throw TransportFailure("Read timed out.");
    // A gateway that ends a TLS connection without saying so ends it as a plain one would.
    if (error == asio::error::eof || error == asio::ssl::error::stream_truncated) return 0;
    if (error) throw TransportFailure(systemText(error));
    return got;
}

void SocketConnection::close() {
    error_code ignored;
    d_->tls.reset();
    d_->tlsContext.reset();
    if (d_->socket.is_open()) {
        d_->socket.shutdown(tcp::socket::shutdown_both, ignored);
        d_->socket.close(ignored);
    }
}

bool SocketConnection::isOpen() const { return d_->socket.is_open(); }

void SocketConnection::whileWaiting(std::function<void()> hook) { d_->whileWaiting = std::move(hook); }

}  // namespace qor::gateway
