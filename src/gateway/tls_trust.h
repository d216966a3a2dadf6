#pragma once
// What the store trusts when it reaches its head office over TLS: the system's certificate
// authorities, or those of one CA file (PEM) a head office with its own authority hands out.
#include <string>

namespace qor::gateway {

// Without a CA file the authorities are OpenSSL's defaults: cert.pem and certs/ in the folder
// OpenSSL was built for (on Debian /usr/lib/ssl, the system's store), or the file and folder
// named by SSL_CERT_FILE and SSL_CERT_DIR. OpenSSL 3.0 does not read the Windows certificate
// store: there the folder is C:\Program Files\Common Files\SSL as the Windows check builds
// OpenSSL, and a store had better name its head office's authority in the CA file.
struct TlsTrust {
    std::string caFile;  // empty: OpenSSL's default authorities
};

}  // namespace qor::gateway
