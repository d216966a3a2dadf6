#pragma once
// The gateway's side of TLS: its certificate and private key, offered over TLS 1.2 and 1.3
// only, with forward-secret AEAD ciphers.
#include <boost/asio/ssl/context.hpp>

#include <string>

namespace qor::headoffice {

// A server context for `certFile` (PEM: the gateway's certificate first, then any
// intermediate certificates up to its authority) and `keyFile` (its private key, PEM, not
// encrypted). Fails with std::runtime_error "cannot read the certificate <path> (<reason>)",
// "cannot read the private key <path> (<reason>)" or "the private key <path> does not belong
// to the certificate <path>".
boost::asio::ssl::context serverTlsContext(const std::string& certFile,
                                           const std::string& keyFile);

}  // namespace qor::headoffice
