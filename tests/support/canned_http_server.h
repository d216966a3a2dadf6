#pragma once
// A raw HTTP server on 127.0.0.1 that answers every request with the same bytes, for the
// replies a real gateway never gives (an empty body).
#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace qor::test {

class CannedHttpServer {
public:
    explicit CannedHttpServer(std::string reply);  // the whole reply: status line, headers, body
    ~CannedHttpServer();
    CannedHttpServer(const CannedHttpServer&) = delete;
    CannedHttpServer& operator=(const CannedHttpServer&) = delete;

    int port() const { return port_; }
    int requests() const { return requests_.load(); }

    // A reply of status 200 carrying `body`.
    static std::string okReply(const std::string& body);

private:
    struct Sockets;  // Boost.Asio's, kept out of the tests' includes
    void serve();

    std::string reply_;
    std::unique_ptr<Sockets> sockets_;
    int port_ = 0;
    std::atomic<int> requests_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens: bound, then released.
int closedPort();

}  // namespace qor::test
