#include "recording_relay.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "child_process.h"

namespace qor::gateway::testing {

RecordingRelay::RecordingRelay(int gatewayPort) : gatewayPort_(gatewayPort) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = qor::test::loopback(0);
    socklen_t size = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (listener_ >= 0) ::close(listener_);
        throw std::runtime_error("the relay cannot listen");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

RecordingRelay::~RecordingRelay() {
    stopping_ = true;
    thread_.join();
    ::close(listener_);
}

std::string RecordingRelay::bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
}

void RecordingRelay::serve() {
    while (!stopping_) {
        pollfd ready{listener_, POLLIN, 0};
        if (::poll(&ready, 1, 50) <= 0) continue;
        const int store = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (store < 0) continue;
        pass(store);
        ::close(store);
    }
}

// Both ways until both sides have finished sending (or the relay stops); an end of sending
// is passed on as one.
void RecordingRelay::pass(int store) {
    const int gateway = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = qor::test::loopback(gatewayPort_);
    if (gateway < 0 ||
        ::connect(gateway, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (gateway >= 0) ::close(gateway);
        return;
    }
    bool open[2] = {true, true};  // store to gateway, gateway to store
    const int from[2] = {store, gateway}, to[2] = {gateway, store};
    while (!stopping_ && (open[0] || open[1])) {
        pollfd ends[2] = {{from[0], short(open[0] ? POLLIN : 0), 0},
                          {from[1], short(open[1] ? POLLIN : 0), 0}};
        if (::poll(ends, 2, 50) <= 0) continue;
        for (int way = 0; way < 2; ++way) {
            if (!open[way] || !(ends[way].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char buffer[16384];
            const ssize_t got = ::recv(from[way], buffer, sizeof buffer, 0);
            if (got <= 0) {
                open[way] = false;
                ::shutdown(to[way], SHUT_WR);
                continue;
            }
            {
                std::lock_guard lock(mutex_);
                bytes_.append(buffer, static_cast<std::size_t>(got));
            }
            for (ssize_t sent = 0; sent < got;) {
                const ssize_t n = ::send(to[way], buffer + sent, got - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += n;
            }
        }
    }
    ::close(gateway);
}

}  // namespace qor::gateway::testing
