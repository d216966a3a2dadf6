// qor-gateway: the head-office gateway. Stores POST one SELECT per request to
// "/oVat/<driver>/index.php"; the reply is a data packet of its rows or "<RESULT>...".
#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>
#include <iostream>
#include <string>
#include <vector>

#include "gateway_options.h"
#include "gateway_server.h"
#include "head_office_database.h"
#include "open_file_limit.h"
#include "reply_memory.h"
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
    keepReplyMemory();
    try {
        HeadOfficeDatabase database({options.database, options.dbUser, options.dbPassword,
                                     qor::storedb::currentExecutableDir()});
        database.checkConnection();

        ServingOptions serving;
        serving.threads = options.threads;
        serving.readTime = std::chrono::seconds(options.readTimeout);
        serving.maxRequestBody = static_cast<std::size_t>(options.maxRequest);
        serving.maxConnections = static_cast<std::size_t>(options.maxConnections);
        serving.delay = std::chrono::milliseconds(options.delay);
        serving.replyCacheTime = std::chrono::seconds(options.replyCacheSeconds);
        serving.replyCacheBytes = static_cast<std::size_t>(options.replyCacheMb) * 1024 * 1024;
        serving.tlsCert = options.tlsCert;
        serving.tlsKey = options.tlsKey;
        if (!options.allowFile.empty())
            serving.allowList = std::make_shared<const AllowList>(AllowList::read(options.allowFile));
        // Room for the database's own files and connections beside the stores'.
        const std::size_t wantedFiles = serving.maxConnections + 256;
        const std::size_t files = raiseOpenFileLimit(wantedFiles);
        if (files < wantedFiles) {
            serving.maxConnections = files > 512 ? files - 256 : files / 2;
            std::cerr << "qor-gateway: the system allows " << files
                      << " open files; serving at most " << serving.maxConnections
                      << " connections at once\n";
        }
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
