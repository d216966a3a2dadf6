#include "gateway_options.h"

#include <stdexcept>

#include "text/long_options.h"

namespace qor::headoffice {

using text::wholeNumberOption;

GatewayOptions parseOptions(const std::vector<std::string>& args) {
    GatewayOptions options;
    for (const text::LongOption& option : text::readLongOptions(args)) {
        const std::string& name = option.name;
        const std::string& value = option.value;
        if (option.help) options.help = true;
        else if (name == "listen") options.listenAddress = value;
        else if (name == "port") options.port = wholeNumberOption(name, value, 0, 65535);
        else if (name == "database") options.database = value;
        else if (name == "user") options.user = value;
        else if (name == "password") options.password = value;
        else if (name == "db-user") options.dbUser = value;
        else if (name == "db-password") options.dbPassword = value;
        else if (name == "threads") options.threads = wholeNumberOption(name, value, 1, 1024);
        else if (name == "read-timeout")
            options.readTimeout = wholeNumberOption(name, value, 1, 3600);
        else if (name == "max-request")
            options.maxRequest = wholeNumberOption(name, value, 1024, 16 * 1024 * 1024);
        else if (name == "max-connections")
            options.maxConnections = wholeNumberOption(name, value, 1, 1000000);
        else if (name == "delay") options.delay = wholeNumberOption(name, value, 0, 600000);
        else if (name == "reply-cache-seconds")
            options.replyCacheSeconds = wholeNumberOption(name, value, 0, 86400);
        else if (name == "reply-cache-mb")
            options.replyCacheMb = wholeNumberOption(name, value, 1, 65536);
        else if (name == "tls-cert") options.tlsCert = value;
        else if (name == "tls-key") options.tlsKey = value;
        else if (name == "allow") options.allowFile = value;
        else throw std::invalid_argument("unknown option --" + name);
    }
    if (options.help) return options;
    if (options.database.empty()) throw std::invalid_argument("--database is required");
    if (options.tlsCert.empty() != options.tlsKey.empty())
        throw std::invalid_argument("--tls-cert and --tls-key go together");
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
           "  --threads <n>           workers: statements run at once (16); further\n"
           "                          requests, read whole, wait for a free one\n"
           "  --read-timeout <s>      seconds a store may take to send its whole\n"
           "                          request (10); a slower one is closed unanswered\n"
           "  --max-request <bytes>   longest request body accepted (65536); a longer\n"
           "                          one gets 413 Payload Too Large, unread\n"
           "  --max-connections <n>   connections open at once (4096); one more gets\n"
           "                          503 Service Unavailable and is closed\n"
           "  --reply-cache-seconds <s>\n"
           "                          answer a statement identical to one answered\n"
           "                          less than <s> seconds ago with that reply's bytes,\n"
           "                          and run identical statements that arrive together\n"
           "                          once (0: off, the default); a store may then get\n"
           "                          rows up to <s> seconds old\n"
           "  --reply-cache-mb <n>    megabytes of replies the cache keeps (64); the\n"
           "                          oldest go first, a longer reply is not kept\n"
           "  --tls-cert <file>       serve HTTPS (TLS 1.2 and 1.3 only) with this\n"
           "                          certificate, PEM, any intermediate certificates\n"
           "                          after it; plain HTTP without it\n"
           "  --tls-key <file>        the certificate's private key, PEM\n"
           "  --allow <file>          run only statements matching one of the file's\n"
           "                          patterns; every other is refused with \"<RESULT>The\n"
           "                          statement is not allowed</RESULT>\" and logged\n"
           "  --delay <ms>            spread every reply over about <ms> milliseconds\n"
           "                          (0): sent in 20 pieces with pauses between, to\n"
           "                          watch a store's progress display; a long reply\n"
           "                          pauses before its first 20 pieces only\n"
           "Requests are read without a worker, however slowly they arrive: only a whole,\n"
           "checked request waits for one. A request line and headers over 64 KiB get 431\n"
           "Request Header Fields Too Large, a request target over 8192 bytes 414 URI Too\n"
           "Long, a request HTTP cannot read 400 Bad Request; every refused connection is\n"
           "closed. A store must take each piece of a reply within 5 seconds. Over HTTPS the\n"
           "TLS handshake counts in the read timeout; bytes that do not open a handshake get\n"
           "a plain 400 Bad Request.\n"
           "Replies of more than 256 rows are sent chunked while the rows are still being\n"
           "read, so memory does not grow with a reply's size; a read that fails midway cuts\n"
           "the reply off, and the store reports a broken connection.\n"
           "Prints \"listening on <address>:<port>\" once it accepts requests; one line per\n"
           "request goes to stderr (ending in \"cached\" for a reply from the cache). Stops\n"
           "on SIGINT or SIGTERM.\n";
}

}  // namespace qor::headoffice
