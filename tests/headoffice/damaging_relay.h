#pragma once
// A hop on 127.0.0.1 in front of a gateway that damages its replies the way a faulty line or
// proxy could and still leaves a packet that loads: every `from` in a reply becomes `to`
// (of the same length). Connections are served one at a time.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

namespace qor::headoffice::testing {

class DamagingRelay {
public:
    DamagingRelay(int gatewayPort, std::string from, std::string to)
        : gatewayPort_(gatewayPort), from_(std::move(from)), to_(std::move(to)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = loopback(0);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 16);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~DamagingRelay() {
        stopping_ = true;
        thread_.join();
        ::close(listener_);
    }
    DamagingRelay(const DamagingRelay&) = delete;
    DamagingRelay& operator=(const DamagingRelay&) = delete;

    int port() const { return port_; }
    // Replies in which `from` was found and replaced.
    int damaged() const { return damaged_; }

private:
    static sockaddr_in loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
        return address;
    }

    void serve() {
        while (!stopping_) {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            const int store = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (store < 0) continue;
            relay(store);
            ::close(store);
        }
    }

    // The request passed on as it comes; the gateway's reply read to its close, damaged,
    // and passed back.
    void relay(int store) {
        const int gateway = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address = loopback(gatewayPort_);
        if (::connect(gateway, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(gateway);
            return;
        }
        std::string reply;
        char buffer[65536];
        for (bool open = true; open && !stopping_;) {
            pollfd p[2] = {{store, POLLIN, 0}, {gateway, POLLIN, 0}};
            if (::poll(p, 2, 100) <= 0) continue;
            if (p[0].revents) {
                const ssize_t n = ::recv(store, buffer, sizeof buffer, 0);
                if (n <= 0) open = false;
                else ::send(gateway, buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL);
            }
            if (p[1].revents) {
                const ssize_t n = ::recv(gateway, buffer, sizeof buffer, 0);
                if (n <= 0) open = false;
                else reply.append(buffer, static_cast<std::size_t>(n));
            }
        }
        bool changed = false;
        for (std::size_t at = reply.find(from_); at != std::string::npos; at = reply.find(from_, at)) {
            reply.replace(at, from_.size(), to_);
            changed = true;
        }
        if (changed) ++damaged_;
        ::send(store, reply.data(), reply.size(), MSG_NOSIGNAL);
        ::close(gateway);
    }

    int gatewayPort_;
    std::string from_, to_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> damaged_{0};
    std::thread thread_;
};

}  // namespace qor::headoffice::testing
