#pragma once
// Head-office side: the gateway server the stores ask (their client is src/gateway).
// POST "/oVat/<driver>/index.php" for any driver segment. Connections are accepted and their
// requests read event-driven on one network thread (Boost.Beast over Boost.Asio), however
// many and however slow; only a request read whole and checked goes to the pool of workers
// that run statements on the head-office database. A store past a limit is refused with a
// status or closed, and never takes a worker.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "account_check.h"
#include "allow_list.h"

namespace qor::headoffice {

class HeadOfficeDatabase;

struct ServingOptions {
    int threads = 16;                            // statements run at once
    std::chrono::milliseconds readTime{10000};   // to receive a whole request; else closed
    std::chrono::milliseconds writeWait{5000};   // for a store to take each piece of a reply
    std::size_t maxRequestBody = 64 * 1024;      // bytes; a longer body gets 413
    std::size_t maxConnections = 4096;           // open at once; one more gets 503
    std::chrono::milliseconds delay{0};          // every reply spread over about this long
    std::chrono::milliseconds replyCacheTime{0}; // identical statements answered once; 0: off
    std::size_t replyCacheBytes = 64 * 1024 * 1024;
    // Both set: HTTPS with this certificate (PEM, its chain after it) and private key.
    std::string tlsCert, tlsKey;
    // Set: only the statements it allows run; every other gets "<RESULT>The statement is not
    // allowed</RESULT>", and the log line shows the statement's shape.
    std::shared_ptr<const AllowList> allowList;
};

class GatewayServer {
public:
    // With a certificate, fails as serverTlsContext() does.
    GatewayServer(Account account, HeadOfficeDatabase& database, const ServingOptions& options);
    ~GatewayServer();
    GatewayServer(const GatewayServer&) = delete;
    GatewayServer& operator=(const GatewayServer&) = delete;

    // Binds the listening socket; returns the port, the system's choice when `port` is 0.
    // Fails with std::runtime_error "cannot listen on <address>:<port>".
    int bind(const std::string& address, int port);
    // Serves until stop() is called: then no further connection is accepted, requests still
    // being read are dropped, and those being answered are finished first.
    void run();
    // Safe from any thread, also before run().
    void stop();

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qor::headoffice
