#pragma once
// A raw HTTP peer on 127.0.0.1 for wire tests: it accepts connections, records each request's
// bytes and answers with scripted bytes, so every framing case can be produced exactly.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qor::gateway::testing {

struct ScriptedReply {
    enum class Then {
        Close,     // write the bytes, then close
        KeepOpen,  // write the bytes, then wait for the client to close
        Stall,     // read the request and never answer
    };
    std::string bytes;
    Then then = Then::Close;
};

class ScriptedServer {
public:
    // Connection i (counted from 0) gets what `script(i)` gives.
    using Script = std::function<ScriptedReply(int connection)>;

    // Listens on a free port of 127.0.0.1.
    explicit ScriptedServer(Script script);
    // Connection i gets replies[i]; later connections get the last one.
    explicit ScriptedServer(std::vector<ScriptedReply> replies);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    unsigned short port() const { return port_; }
    int connectionCount() const;
    // The request bytes received on a connection (counted from 0 in the order of connecting).
    std::string request(int connection) const;
    // Waits until the client has closed that connection (KeepOpen); false when it has not
    // within several seconds.
    bool waitForClientClose(int connection);

private:
    struct Sockets;  // Boost.Asio's, kept out of the tests' includes
    struct Connection;
    void acceptLoop();
    void serve(int index);

    Script script_;
    std::unique_ptr<Sockets> sockets_;
    unsigned short port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

// A reply with a Content-Length header and the given body.
std::string httpReply(const std::string& statusLine, const std::string& body,
                      const std::string& extraHeaders = "");

}  // namespace qor::gateway::testing
