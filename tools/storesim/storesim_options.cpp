#include "storesim_options.h"

#include <stdexcept>

#include "text/long_options.h"

namespace qor::storesim {

using text::wholeNumberOption;

StoresimOptions parseOptions(const std::vector<std::string>& args) {
    StoresimOptions options;
    for (const text::LongOption& option : text::readLongOptions(args)) {
        const std::string& name = option.name;
        const std::string& value = option.value;
        if (option.help) options.help = true;
        else if (name == "database") options.database = value;
        else if (name == "host") options.host = value;
        else if (name == "port") options.port = wholeNumberOption(name, value, 1, 65535);
        else if (name == "driver") options.driver = value;
        else if (name == "user") options.user = value;
        else if (name == "password") options.password = value;
        else if (name == "db-user") options.dbUser = value;
        else if (name == "db-password") options.dbPassword = value;
        else if (name == "stores") options.stores = wholeNumberOption(name, value, 1, 10000000);
        else if (name == "at-once") options.atOnce = wholeNumberOption(name, value, 1, 10000);
        else if (name == "days") options.days = wholeNumberOption(name, value, 0, 36500);
        else if (name == "timeout-ms")
            options.timeoutMs = wholeNumberOption(name, value, 1, 3600000);
        else if (name == "work-dir") options.workDir = value;
        else if (name == "watch-pid")
            options.watchPids.push_back(wholeNumberOption(name, value, 1, 1 << 30));
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
