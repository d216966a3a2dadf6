#include "gateway_relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "child_process.h"

namespace qor::test {
namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// One HTTP message: the head up to the empty line, then Content-Length bytes of body, or
// everything up to the close when the head names no length.
std::string readMessage(int fd) {
    std::string data;
    char buffer[16384];
    std::optional<std::size_t> expected;
    bool toTheClose = false;
    while (toTheClose || !expected || data.size() < *expected) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
        if (expected || toTheClose) continue;
        const std::size_t headEnd = data.find("\r\n\r\n");
        if (headEnd == std::string::npos) continue;
        const std::string head = lower(data.substr(0, headEnd));
        const std::size_t at = head.find("\r\ncontent-length:");
        if (at == std::string::npos)
            toTheClose = head.starts_with("http/");  // a reply; a request without a body ends here
        else
            expected = headEnd + 4 + std::stoul(head.substr(at + 17));
        if (!toTheClose && !expected) break;
    }
    return data;
}

void sendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

// A listening socket on `port` of 127.0.0.1 (0: any free port, which `port` then names).
int listenOn(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address = loopback(port);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 64) != 0) {
        const std::string reason = std::strerror(errno);
        ::close(fd);
        throw std::runtime_error("cannot listen: " + reason);
    }
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.sin_port);
    return fd;
}

// The gateway's reply to one request, on a connection of its own.
std::string exchange(int gatewayPort, const std::string& request) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return {};
    sockaddr_in address = loopback(gatewayPort);
    std::string reply;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        sendAll(fd, request);
        reply = readMessage(fd);
    }
    ::close(fd);
    return reply;
}

}  // namespace

GatewayRelay::GatewayRelay(int gatewayPort) : gatewayPort_(gatewayPort) { listenAgain(); }

GatewayRelay::~GatewayRelay() { refuse(); }

void GatewayRelay::inject(const Fault& fault, int connections) {
    std::lock_guard lock(mutex_);
    for (int i = 0; i < connections; ++i) faults_.push_back(fault);
}

void GatewayRelay::refuse() {
    if (listener_ < 0) return;
    stopping_ = true;
    thread_.join();
    ::close(listener_);
    listener_ = -1;
    stopping_ = false;
}

void GatewayRelay::listenAgain() {
    if (listener_ >= 0) return;
    listener_ = listenOn(port_);
    thread_ = std::thread([this] { serve(); });
}

void GatewayRelay::serve() {
    while (!stopping_) {
        pollfd ready{listener_, POLLIN, 0};
        if (::poll(&ready, 1, 50) <= 0) continue;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        ++accepted_;
        handle(client);
        ::shutdown(client, SHUT_WR);
        ::close(client);
    }
}

void GatewayRelay::handle(int client) {
    const std::string request = readMessage(client);
    std::optional<Fault> fault;
    {
        std::lock_guard lock(mutex_);
        if (!faults_.empty()) {
            fault = faults_.front();
            faults_.pop_front();
        }
    }
    if (!fault) return sendAll(client, exchange(gatewayPort_, request));

    switch (fault->kind) {
    case Fault::Kind::Answer:
        sendAll(client, fault->bytes);
        break;
    case Fault::Kind::CutReply: {
        const std::string reply = exchange(gatewayPort_, request);
        sendAll(client, reply.substr(0, std::min(reply.size(), fault->cutAt(reply))));
        break;
    }
    case Fault::Kind::Stall:
        // Until the client gives up and closes (or the relay stops).
        while (!stopping_) {
            pollfd closed{client, POLLIN, 0};
            if (::poll(&closed, 1, 50) <= 0) continue;
            char byte;
            if (::recv(client, &byte, 1, 0) <= 0) break;
        }
        break;
    }
}

}  // namespace qor::test
