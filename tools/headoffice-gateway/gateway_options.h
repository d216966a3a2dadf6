#pragma once
// What qor-gateway is told on its command line.
#include <string>
#include <vector>

#include "text/builtin_account.h"

namespace qor::headoffice {

struct GatewayOptions {
    std::string listenAddress = "127.0.0.1";
    int port = 80;                   // 0: the system picks a free port
    std::string database;            // a path (embedded) or server:path
    // the account stores sign in to the gateway with
    std::string user{text::kBuiltinUserName};
    std::string password{text::kBuiltinPassword};
    // the account the gateway opens the database with
    std::string dbUser{text::kBuiltinUserName};
    std::string dbPassword{text::kBuiltinPassword};
    int threads = 16;                // statements run at once (workers)
    int readTimeout = 10;            // seconds a store may take to send a whole request
    int maxRequest = 64 * 1024;      // bytes of a request's body
    int maxConnections = 4096;       // connections open at once
    int delay = 0;                   // milliseconds each reply is spread over
    int replyCacheSeconds = 0;       // identical statements answered once; 0: off
    int replyCacheMb = 64;           // megabytes the reply cache keeps at most
    std::string tlsCert, tlsKey;     // both given: HTTPS; neither: plain HTTP
    std::string allowFile;           // given: only statements matching its patterns run
    bool help = false;
};

// Reads "--name value" pairs (also "--name=value"). Fails with std::invalid_argument naming
// the fault; the caller prints it with usageText().
GatewayOptions parseOptions(const std::vector<std::string>& args);

std::string usageText();

}  // namespace qor::headoffice
