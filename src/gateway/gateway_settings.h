#pragma once
// The gateway settings of httpset.ini, read once at start-up.
#include <string>

#include "text/builtin_account.h"

namespace qor::gateway {

struct GatewaySettings {
    std::string host = "127.0.0.1";
    std::string userName{text::kBuiltinUserName};
    std::string password{text::kBuiltinPassword};
    std::string port = "80";  // "443" with TLS
    std::string driver = "ado";
    bool tls = false;         // key "tls": 1 or true turns TLS on
    std::string caFile;       // key "cafile": a PEM file of authorities trusted instead of the system's

    // "http://" (with TLS "https://") + host + ":" + port + "/oVat/" + driver + "/index.php"
    std::string queryUrl() const;
};

// Section "set" of httpset.ini in `folder`; a missing file, section or key gives the default.
GatewaySettings readGatewaySettings(const std::string& folder);

}  // namespace qor::gateway
