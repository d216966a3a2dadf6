#pragma once
// What qor-storesim is told on its command line.
#include <string>
#include <vector>

#include "text/builtin_account.h"

namespace qor::storesim {

struct StoresimOptions {
    std::string database;            // the head office's database, for its rows
    std::string host = "127.0.0.1";  // the gateway (or nginx before gateways)
    int port = 80;
    std::string driver = "ado";
    std::string user{text::kBuiltinUserName};  // the gateway account
    std::string password{text::kBuiltinPassword};
    std::string dbUser{text::kBuiltinUserName};  // the database account
    std::string dbPassword{text::kBuiltinPassword};
    int stores = 100;
    int atOnce = 10;
    int days = 7;
    int timeoutMs = 300000;
    std::string workDir;             // httpset.ini and the lanes' Result.txt
    std::vector<int> watchPids;      // gateways whose peak memory is reported
    bool help = false;
};

// Reads "--name value" pairs (also "--name=value"). Fails with std::invalid_argument naming
// the fault.
StoresimOptions parseOptions(const std::vector<std::string>& args);

std::string usageText();

}  // namespace qor::storesim
