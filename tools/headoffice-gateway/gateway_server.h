#pragma once
// Head-office side: the gateway server the stores ask (their client is src/gateway).
// The HTTP side of the gateway: POST "/oVat/<driver>/index.php" for any driver segment,
// served by a pool of threads.
#include <atomic>
#include <memory>
#include <string>

#include "account_check.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace qor::headoffice {

class HeadOfficeDatabase;

class GatewayServer {
public:
    GatewayServer(Account account, HeadOfficeDatabase& database, int threads);
    ~GatewayServer();
    GatewayServer(const GatewayServer&) = delete;
    GatewayServer& operator=(const GatewayServer&) = delete;

    // Binds the listening socket; returns the port, the system's choice when `port` is 0.
    // Fails with std::runtime_error.
    int bind(const std::string& address, int port);
    // Serves until stop() is called; requests being answered then are finished first.
    void run();
    // Safe from any thread, also before run().
    void stop();

private:
    void answer(const httplib::Request& request, httplib::Response& response);

    Account account_;
    HeadOfficeDatabase& database_;
    std::unique_ptr<httplib::Server> server_;
    std::atomic<bool> stopRequested_{false};
};

}  // namespace qor::headoffice
