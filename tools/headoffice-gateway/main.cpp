// qor-gateway: the head-office gateway. Stores POST one SELECT per request to
// "/oVat/<driver>/index.php"; the reply is a data packet of its rows or "<RESULT>...".
#include <chrono>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "gateway_options.h"
#include "gateway_server.h"
#include "head_office_database.h"
#include "stop_signals.h"
#include "storedb/definition_paths.h"

using namespace qor::headoffice;

int main(int argc, char** argv) {
    GatewayOptions options;
    try {
        options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "qor-gateway: " << e.what() << "\n" << usageText();
        return 2;
    }
    if (options.help) {
        std::cout << usageText();
        return 0;
    }

    // Before any other thread exists, so every thread inherits the blocked stop signals.
    blockStopSignals();
    try {
        HeadOfficeDatabase database({options.database, options.dbUser, options.dbPassword,
                                     qor::storedb::currentExecutableDir()});
        database.checkConnection();

        ServingOptions serving;
        serving.threads = options.threads;
        serving.readTime = std::chrono::seconds(options.readTimeout);
        serving.maxRequestBody = static_cast<std::size_t>(options.maxRequest);
        serving.delay = std::chrono::milliseconds(options.delay);
        GatewayServer server({options.user, options.password}, database, serving);
        const int port = server.bind(options.listenAddress, options.port);
        StopSignalWatcher watcher([&server] { server.stop(); });

        // Tests and scripts read this line to learn the port.
        std::cout << "listening on " << options.listenAddress << ":" << port << std::endl;
        server.run();
        std::cerr << "qor-gateway: stopped\n";
    } catch (const std::exception& e) {
        std::cerr << "qor-gateway: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
