#pragma once
// What the store trusts when it reaches its head office over TLS: the system's certificate
// authorities, or those of one CA file (PEM) a head office with its own authority hands out.
#include <string>

namespace qor::gateway {

struct TlsTrust {
    std::string caFile;  // empty: the system's store
};

}  // namespace qor::gateway
