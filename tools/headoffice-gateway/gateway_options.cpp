#include "gateway_options.h"

#include <stdexcept>

#include "text/ascii.h"

namespace qor::headoffice {
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

GatewayOptions parseOptions(const std::vector<std::string>& args) {
    GatewayOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
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

        if (name == "listen") options.listenAddress = value;
        else if (name == "port") options.port = numberOption(name, value, 0, 65535);
        else if (name == "database") options.database = value;
        else if (name == "user") options.user = value;
        else if (name == "password") options.password = value;
        else if (name == "db-user") options.dbUser = value;
        else if (name == "db-password") options.dbPassword = value;
        else if (name == "threads") options.threads = numberOption(name, value, 1, 1024);
        else if (name == "read-timeout") options.readTimeout = numberOption(name, value, 1, 3600);
        else if (name == "max-request")
            options.maxRequest = numberOption(name, value, 1024, 16 * 1024 * 1024);
        else if (name == "delay") options.delay = numberOption(name, value, 0, 600000);
        else throw std::invalid_argument("unknown option --" + name);
    }
    if (!options.help && options.database.empty())
        throw std::invalid_argument("--database is required");
    return options;
}

std::string usageText() {
    return "usage: qor-gateway --database <path or server:path> [options]\n"
           "  --listen <address>      address to listen on (127.0.0.1)\n"
           "  --port <n>              port (80); 0 picks a free one\n"
           "  --user <name>           account the stores send (SYSDBA)\n"
           "  --password <text>       its password (the program's built-in one)\n"
           "  --db-user <name>        database user (SYSDBA)\n"
           "  --db-password <text>    database password (the program's built-in one)\n"
           "  --threads <n>           requests served at once (16)\n"
           "  --read-timeout <s>      seconds a store may take to send its whole\n"
           "                          request (10); a slower one is dropped, so it\n"
           "                          cannot hold a worker\n"
           "  --max-request <bytes>   longest request body accepted (65536); a longer\n"
           "                          one gets 413 Payload Too Large\n"
           "  --delay <ms>            spread every reply over about <ms> milliseconds\n"
           "                          (0): sent in 20 pieces with pauses between, to\n"
           "                          watch a store's progress display; a long reply\n"
           "                          pauses before its first 20 pieces only\n"
           "Replies of more than 256 rows are sent chunked while the rows are still being\n"
           "read, so memory does not grow with a reply's size; a read that fails midway cuts\n"
           "the reply off, and the store reports a broken connection.\n"
           "Prints \"listening on <address>:<port>\" once it accepts requests; one line per\n"
           "request goes to stderr. Stops on SIGINT or SIGTERM.\n";
}

}  // namespace qor::headoffice
