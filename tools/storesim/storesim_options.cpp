#include "storesim_options.h"

#include <stdexcept>

#include "text/ascii.h"

namespace qor::storesim {
namespace {

int numberOption(const std::string& name, const std::string& value, int low, int high) {
    const auto number = text::parseWholeNumber<int>(value);
    if (!number || *number < low || *number > high)
        throw std::invalid_argument("--" + name + " wants a number from " +
                                    std::to_string(low) + " to " + std::to_string(high) +
                                    ", not '" + value + "'");
    return *number;
}

}  // namespace

StoresimOptions parseOptions(const std::vector<std::string>& args) {
    StoresimOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0) throw std::invalid_argument("unexpected '" + arg + "'");
        std::string name = arg.substr(2);
        std::string value;
        if (auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else {
            if (i + 1 >= args.size()) throw std::invalid_argument("--" + name + " wants a value");
            value = args[++i];
        }

        if (name == "database") options.database = value;
        else if (name == "host") options.host = value;
        else if (name == "port") options.port = numberOption(name, value, 1, 65535);
        else if (name == "driver") options.driver = value;
        else if (name == "user") options.user = value;
        else if (name == "password") options.password = value;
        else if (name == "db-user") options.dbUser = value;
        else if (name == "db-password") options.dbPassword = value;
        else if (name == "stores") options.stores = numberOption(name, value, 1, 10000000);
        else if (name == "at-once") options.atOnce = numberOption(name, value, 1, 10000);
        else if (name == "days") options.days = numberOption(name, value, 0, 36500);
        else if (name == "timeout-ms") options.timeoutMs = numberOption(name, value, 1, 3600000);
        else if (name == "work-dir") options.workDir = value;
        else if (name == "watch-pid") options.watchPids.push_back(numberOption(name, value, 1, 1 << 30));
        else throw std::invalid_argument("unknown option --" + name);
    }
    if (!options.help && options.database.empty())
        throw std::invalid_argument("--database is required");
    return options;
}

std::string usageText() {
    return "usage: qor-storesim --database <path or server:path> --port <n> [options]\n"
           "Plays a chain's morning: N stores, C at a time, each signing in, pulling the\n"
           "products changed in the last days, the promotion list and each promotion's\n"
           "items, and the suppliers through the gateway, with the program's own gateway\n"
           "client. Every reply is checked against the head office's rows, read from its\n"
           "database.\n"
           "  --database <db>         the head office's database, as the gateway opens it\n"
           "  --host <address>        the gateway, or nginx in front of gateways (127.0.0.1)\n"
           "  --port <n>              its port (80)\n"
           "  --driver <name>         the path segment (ado)\n"
           "  --user, --password      the gateway account (the built-in one)\n"
           "  --db-user, --db-password  the database account (the built-in one)\n"
           "  --stores <n>            stores to play (100); the head office's stores are\n"
           "                          played in code order, again from the first when\n"
           "                          there are fewer\n"
           "  --at-once <n>           stores playing at the same time (10)\n"
           "  --days <n>              the product tab's day count (7)\n"
           "  --timeout-ms <n>        the gateway client's time limit (300000)\n"
           "  --work-dir <folder>     where httpset.ini and the replies' Result.txt go\n"
           "                          (a new folder under /tmp)\n"
           "  --watch-pid <pid>       a gateway whose peak memory to report (repeatable)\n"
           "Prints per step the requests, failures and latency percentiles, then the wall\n"
           "time, stores per second and each watched gateway's peak memory. Exit status\n"
           "0: no failure; 1: failures (the first few are listed); 2: cannot start.\n";
}

}  // namespace qor::storesim
