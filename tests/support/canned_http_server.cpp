#include "canned_http_server.h"

#include <arpa/inet.h>
#include <cctype>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace qor::test {

namespace {

int boundSocket(int& port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // any free port
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        throw std::runtime_error("bind failed");
    }
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

std::size_t contentLength(const std::string& head) {
    const std::string key = "content-length:";
    std::string lower;
    for (char c : head) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    auto at = lower.find(key);
    if (at == std::string::npos) return 0;
    return std::stoul(head.substr(at + key.size()));
}

}  // namespace

CannedHttpServer::CannedHttpServer(std::string reply) : reply_(std::move(reply)) {
    listener_ = boundSocket(port_);
    ::listen(listener_, 8);
    thread_ = std::thread([this] { serve(); });
}

CannedHttpServer::~CannedHttpServer() {
    stopping_ = true;
    ::shutdown(listener_, SHUT_RDWR);  // wakes the blocked accept
    thread_.join();
    ::close(listener_);
}

std::string CannedHttpServer::okReply(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

void CannedHttpServer::serve() {
    while (!stopping_) {
        int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0) break;
        answer(client);
        ::close(client);
    }
}

// Reads the whole request (headers, then Content-Length bytes of body) before replying, so
// the client never meets a reset while it is still writing.
void CannedHttpServer::answer(int client) {
    std::string request;
    char buffer[4096];
    std::size_t headEnd = std::string::npos;
    std::size_t wanted = 0;
    for (;;) {
        if (headEnd == std::string::npos) {
            headEnd = request.find("\r\n\r\n");
            if (headEnd != std::string::npos) wanted = headEnd + 4 + contentLength(request.substr(0, headEnd));
        }
        if (headEnd != std::string::npos && request.size() >= wanted) break;
        ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    ++requests_;
    std::size_t sent = 0;
    while (sent < reply_.size()) {
        ssize_t n = ::send(client, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

int closedPort() {
    int port = 0;
    int fd = boundSocket(port);
    ::close(fd);
    return port;
}

}  // namespace qor::test
