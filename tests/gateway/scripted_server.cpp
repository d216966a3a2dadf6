#include "scripted_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace qor::gateway::testing {

namespace {

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Reads one request: the head up to the empty line, then Content-Length bytes of body.
std::string readRequest(int fd) {
    std::string data;
    char buffer[16384];
    std::size_t expected = std::string::npos;
    while (expected == std::string::npos || data.size() < expected) {
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
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

void sendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

}  // namespace

ScriptedServer::ScriptedServer(Script script) : script_(std::move(script)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 64) != 0) {
        std::string reason = std::strerror(errno);
        ::close(listenFd_);
        throw std::runtime_error("cannot listen: " + reason);
    }
    socklen_t size = sizeof address;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
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
        for (auto& c : connections_)
            if (c.fd >= 0) ::shutdown(c.fd, SHUT_RDWR);
    }
    changed_.notify_all();
    ::shutdown(listenFd_, SHUT_RDWR);
    acceptor_.join();
    ::close(listenFd_);
    for (auto& worker : workers_) worker.join();
}

void ScriptedServer::acceptLoop() {
    while (true) {
        int fd = ::accept(listenFd_, nullptr, nullptr);
        std::lock_guard lock(mutex_);
        if (fd < 0 || stopping_) {
            if (fd >= 0) ::close(fd);
            return;
        }
        connections_.push_back({fd, {}, false});
        int index = static_cast<int>(connections_.size()) - 1;
        workers_.emplace_back([this, index] { serve(index); });
    }
}

void ScriptedServer::serve(int index) {
    int fd;
    {
        std::lock_guard lock(mutex_);
        fd = connections_[index].fd;
    }
    std::string request = readRequest(fd);
    {
        std::lock_guard lock(mutex_);
        connections_[index].request = request;
    }
    changed_.notify_all();
    ScriptedReply reply = script_(index);
    if (reply.then == ScriptedReply::Then::Stall) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stopping_; });
    } else {
        sendAll(fd, reply.bytes);
        if (reply.then == ScriptedReply::Then::KeepOpen) {
            char buffer[256];
            while (::recv(fd, buffer, sizeof buffer, 0) > 0) {
            }
            std::lock_guard lock(mutex_);
            connections_[index].closedByClient = !stopping_;
        }
    }
    std::lock_guard lock(mutex_);
    ::close(fd);
    connections_[index].fd = -1;
    changed_.notify_all();
}

int ScriptedServer::connectionCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(connections_.size());
}

std::string ScriptedServer::request(int connection) const {
    std::lock_guard lock(mutex_);
    return connection < static_cast<int>(connections_.size()) ? connections_[connection].request
                                                               : std::string();
}

bool ScriptedServer::waitForClientClose(int connection) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] {
        return connection < static_cast<int>(connections_.size()) &&
               connections_[connection].closedByClient;
    });
}

std::string httpReply(const std::string& statusLine, const std::string& body,
                      const std::string& extraHeaders) {
    return statusLine + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
           extraHeaders + "\r\n" + body;
}

}  // namespace qor::gateway::testing
