#pragma once
// A raw HTTP server on 127.0.0.1 that answers every request with the same bytes, for the
// replies a real gateway never gives (an empty body).
#include <atomic>
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
    void serve();
    void answer(int client);

    std::string reply_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<int> requests_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens: bound, then released.
int closedPort();

}  // namespace qor::test
