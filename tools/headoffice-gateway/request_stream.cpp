#include "request_stream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qor::headoffice {
namespace {

// The address and port of a socket name (IPv4 or IPv6).
void describe(const sockaddr_storage& address, std::string& ip, int& port) {
    char text[INET6_ADDRSTRLEN] = "";
    if (address.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(address);
        ::inet_ntop(AF_INET, &in.sin_addr, text, sizeof text);
        port = ntohs(in.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address);
        ::inet_ntop(AF_INET6, &in6.sin6_addr, text, sizeof text);
        port = ntohs(in6.sin6_port);
    }
    ip = text;
}

}  // namespace

RequestStream::RequestStream(socket_t socket, const ConnectionLimits& limits)
    : socket_(socket), limits_(limits), deadline_(Clock::now() + limits.readTime),
      bytesLeft_(limits.readBytes) {}

bool RequestStream::waitFor(short events, std::chrono::milliseconds limit) const {
    pollfd p{socket_, events, 0};
    const int ms = static_cast<int>(std::max<std::chrono::milliseconds::rep>(limit.count(), 0));
    int ready;
    do {
        ready = ::poll(&p, 1, ms);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

std::chrono::milliseconds RequestStream::readTimeLeft() const {
    return std::chrono::ceil<std::chrono::milliseconds>(deadline_ - Clock::now());
}

bool RequestStream::is_readable() const {
    if (begin_ < end_) return true;
    const auto left = readTimeLeft();
    return left.count() > 0 && bytesLeft_ > 0 && waitFor(POLLIN, left);
}

bool RequestStream::is_writable() const { return waitFor(POLLOUT, limits_.writeWait); }

ssize_t RequestStream::read(char* ptr, size_t size) {
    if (begin_ == end_) {
        if (!is_readable()) return -1;
        const std::size_t most = std::min(sizeof buffer_, bytesLeft_);
        ssize_t got;
        do {
            got = ::recv(socket_, buffer_, most, 0);
        } while (got < 0 && errno == EINTR);
        if (got <= 0) return got;
        bytesLeft_ -= static_cast<std::size_t>(got);
        begin_ = 0;
        end_ = static_cast<std::size_t>(got);
    }
    const std::size_t n = std::min(size, end_ - begin_);
    std::memcpy(ptr, buffer_ + begin_, n);
    begin_ += n;
    return static_cast<ssize_t>(n);
}

ssize_t RequestStream::write(const char* ptr, size_t size) {
    if (!is_writable()) return -1;
    ssize_t sent;
    do {
        sent = ::send(socket_, ptr, size, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent;
}

void RequestStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        describe(address, ip, port);
}

void RequestStream::get_local_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        describe(address, ip, port);
}

}  // namespace qor::headoffice
