#pragma once
// One request to the gateway on 127.0.0.1 inside TLS, offering one protocol version only.
#include <openssl/ssl.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/asio/write.hpp>

#include <stdexcept>
#include <string>

namespace qor::headoffice::testing {

// Sends `request` over TLS `version` (TLS1_2_VERSION, ...) to 127.0.0.1:`port`, the gateway's
// certificate checked against `caFile`, and returns the reply's bytes up to the gateway's
// closing. A handshake that fails throws std::runtime_error with OpenSSL's reason.
inline std::string tlsExchange(int port, const std::string& caFile, const std::string& request,
                               int version) {
    namespace asio = boost::asio;
    asio::io_context io;
    asio::ssl::context context(asio::ssl::context::tls_client);
    // Security level 0: OpenSSL itself would offer nothing older than TLS 1.2 otherwise, and
    // the gateway must be the one refusing.
    SSL_CTX_set_security_level(context.native_handle(), 0);
    SSL_CTX_set_min_proto_version(context.native_handle(), version);
    SSL_CTX_set_max_proto_version(context.native_handle(), version);
    context.load_verify_file(caFile);
    context.set_verify_mode(asio::ssl::verify_peer);
    asio::ssl::stream<asio::ip::tcp::socket> stream(io, context);
    X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(stream.native_handle()), "127.0.0.1");
    stream.next_layer().connect({asio::ip::make_address("127.0.0.1"),
                                 static_cast<unsigned short>(port)});
    boost::system::error_code error;
    stream.handshake(asio::ssl::stream_base::client, error);
    if (error) throw std::runtime_error(error.message());
    asio::write(stream, asio::buffer(request));
    std::string reply;
    char buffer[16384];
    while (true) {
        const std::size_t got = stream.read_some(asio::buffer(buffer), error);
        reply.append(buffer, got);
        if (error) break;
    }
    if (error != asio::error::eof)
        throw std::runtime_error("the reply ended with " + error.message());
    return reply;
}

}  // namespace qor::headoffice::testing
