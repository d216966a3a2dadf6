#include "scripted_server.h"

#include <algorithm>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>
#include <cctype>
#include <chrono>
#include <stdexcept>

namespace qor::gateway::testing {

using boost::asio::ip::tcp;

struct ScriptedServer::Sockets {
    boost::asio::io_context io;
    tcp::acceptor acceptor{io};
};

struct ScriptedServer::Connection {
    explicit Connection(tcp::socket s) : socket(std::move(s)) {}
    tcp::socket socket;
    bool open = true;
    std::string request;
    bool closedByClient = false;
};

namespace {

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Reads one request: the head up to the empty line, then Content-Length bytes of body.
std::string readRequest(tcp::socket& socket) {
    std::string data;
    char buffer[16384];
    std::size_t expected = std::string::npos;
    while (expected == std::string::npos || data.size() < expected) {
        boost::system::error_code error;
        std::size_t n = socket.read_some(boost::asio::buffer(buffer), error);
        if (error || n == 0) break;
        data.append(buffer, n);
        if (expected == std::string::npos) {
            auto headEnd = data.find("\r\n\r\n");
            if (headEnd == std::string::npos) continue;
            std::string head = lower(data.substr(0, headEnd));
            std::size_t length = 0;
            auto at = head.find("\r\ncontent-length:");
            if (at != std::string::npos) length = std::stoul(head.substr(at + 17));
            expected = headEnd + 4 + length;
        }
    }
    return data;
}

}  // namespace

ScriptedServer::ScriptedServer(Script script)
    : script_(std::move(script)), sockets_(std::make_unique<Sockets>()) {
    boost::system::error_code error;
    auto& acceptor = sockets_->acceptor;
    const tcp::endpoint loopback(boost::asio::ip::address_v4::loopback(), 0);
    acceptor.open(loopback.protocol(), error);
    if (!error) acceptor.set_option(tcp::acceptor::reuse_address(true), error);
    if (!error) acceptor.bind(loopback, error);
    if (!error) acceptor.listen(64, error);
    if (error) throw std::runtime_error("cannot listen: " + error.message());
    port_ = acceptor.local_endpoint().port();
    acceptor_ = std::thread([this] { acceptLoop(); });
}

ScriptedServer::ScriptedServer(std::vector<ScriptedReply> replies)
    : ScriptedServer([replies](int i) {
          return replies[std::min<std::size_t>(static_cast<std::size_t>(i), replies.size() - 1)];
      }) {}

ScriptedServer::~ScriptedServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        boost::system::error_code ignored;
        for (auto& c : connections_)
            if (c->open) c->socket.shutdown(tcp::socket::shutdown_both, ignored);
    }
    changed_.notify_all();
    // A connection of our own wakes the accepting thread, which then sees the stop.
    {
        boost::system::error_code ignored;
        tcp::socket wake(sockets_->io);
        wake.connect(tcp::endpoint(boost::asio::ip::address_v4::loopback(), port_), ignored);
        acceptor_.join();
    }
    for (auto& worker : workers_) worker.join();
}

void ScriptedServer::acceptLoop() {
    while (true) {
        boost::system::error_code error;
        tcp::socket socket = sockets_->acceptor.accept(error);
        std::lock_guard lock(mutex_);
        if (error || stopping_) return;
        connections_.push_back(std::make_unique<Connection>(std::move(socket)));
        int index = static_cast<int>(connections_.size()) - 1;
        workers_.emplace_back([this, index] { serve(index); });
    }
}

void ScriptedServer::serve(int index) {
    Connection* connection;
    {
        std::lock_guard lock(mutex_);
        connection = connections_[index].get();
    }
    tcp::socket& socket = connection->socket;
    std::string request = readRequest(socket);
    {
        std::lock_guard lock(mutex_);
        connection->request = request;
    }
    changed_.notify_all();
    ScriptedReply reply = script_(index);
    if (reply.then == ScriptedReply::Then::Stall) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopping_; });
    } else {
        boost::system::error_code error;
        boost::asio::write(socket, boost::asio::buffer(reply.bytes), error);
        if (reply.then == ScriptedReply::Then::KeepOpen) {
            char buffer[256];
            while (!error) socket.read_some(boost::asio::buffer(buffer), error);
            std::lock_guard lock(mutex_);
            connection->closedByClient = !stopping_;
        }
    }
    std::lock_guard lock(mutex_);
    boost::system::error_code ignored;
    socket.close(ignored);
    connection->open = false;
    changed_.notify_all();
}

int ScriptedServer::connectionCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(connections_.size());
}

std::string ScriptedServer::request(int connection) const {
    std::lock_guard lock(mutex_);
    return connection < static_cast<int>(connections_.size()) ? connections_[connection]->request
                                                               : std::string();
}

bool ScriptedServer::waitForClientClose(int connection) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] {
        return connection < static_cast<int>(connections_.size()) &&
               connections_[connection]->closedByClient;
    });
}

std::string httpReply(const std::string& statusLine, const std::string& body,
                      const std::string& extraHeaders) {
    return statusLine + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
           extraHeaders + "\r\n" + body;
}

}  // namespace qor::gateway::testing
