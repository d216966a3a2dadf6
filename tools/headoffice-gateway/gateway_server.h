#pragma once
// Head-office side: the gateway server the stores ask (their client is src/gateway).
// The HTTP side of the gateway: POST "/oVat/<driver>/index.php" for any driver segment,
// served by a pool of threads.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "account_check.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace qor::headoffice {

class HeadOfficeDatabase;
class LimitedHttpServer;
class PacketStream;

struct ServingOptions {
    int threads = 16;                            // requests served at once
    std::chrono::milliseconds readTime{10000};   // to receive a whole request
    std::size_t maxRequestBody = 64 * 1024;      // bytes; a longer body gets 413
    std::chrono::milliseconds delay{0};          // every reply spread over about this long
};

class GatewayServer {
public:
    GatewayServer(Account account, HeadOfficeDatabase& database, const ServingOptions& options);
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
    void sendWhole(httplib::Response& response, std::string body) const;
    void sendPieces(httplib::Response& response, std::shared_ptr<PacketStream> stream) const;

    Account account_;
    HeadOfficeDatabase& database_;
    std::chrono::milliseconds delay_;
    std::unique_ptr<LimitedHttpServer> server_;
    std::atomic<bool> stopRequested_{false};
};

}  // namespace qor::headoffice
