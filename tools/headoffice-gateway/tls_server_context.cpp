#include "tls_server_context.h"

#include <openssl/ssl.h>

#include <stdexcept>

namespace qor::headoffice {

namespace ssl = boost::asio::ssl;

namespace {

// TLS 1.2 ciphers with ephemeral key exchange and authenticated encryption; TLS 1.3 has only
// such suites and keeps OpenSSL's list.
constexpr const char* kTls12Ciphers =
    "ECDHE-ECDSA-AES128-GCM-SHA256:ECDHE-RSA-AES128-GCM-SHA256:"
    "ECDHE-ECDSA-AES256-GCM-SHA384:ECDHE-RSA-AES256-GCM-SHA384:"
    "ECDHE-ECDSA-CHACHA20-POLY1305:ECDHE-RSA-CHACHA20-POLY1305";

std::string reason(const boost::system::error_code& error) {
    return " (" + error.message() + ")";
}

}  // namespace

ssl::context serverTlsContext(const std::string& certFile, const std::string& keyFile) {
    ssl::context context(ssl::context::tls_server);
    SSL_CTX* native = context.native_handle();
    SSL_CTX_set_min_proto_version(native, TLS1_2_VERSION);
    // A store has no reason to renegotiate, and a renegotiation costs the gateway's one
    // network thread a handshake.
    SSL_CTX_set_options(native, SSL_OP_NO_RENEGOTIATION | SSL_OP_CIPHER_SERVER_PREFERENCE |
                                    SSL_OP_NO_COMPRESSION);
    SSL_CTX_set_cipher_list(native, kTls12Ciphers);

    // The key first: loaded after it, a certificate it does not belong to sets the key
    // aside, and the check below says so plainly.
    boost::system::error_code error;
    context.use_private_key_file(keyFile, ssl::context::pem, error);
    if (error) throw std::runtime_error("cannot read the private key " + keyFile + reason(error));
    context.use_certificate_chain_file(certFile, error);
    if (error) throw std::runtime_error("cannot read the certificate " + certFile + reason(error));
    if (SSL_CTX_check_private_key(native) != 1)
        throw std::runtime_error("the private key " + keyFile +
                                 " does not belong to the certificate " + certFile);
    return context;
}

}  // namespace qor::headoffice
