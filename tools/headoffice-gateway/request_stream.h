#pragma once
// The connection of one request as the HTTP library reads and writes it, with the limits a
// gateway facing many stores needs: the whole request must arrive by a deadline and within
// a byte budget, so a store that sends a byte now and then, or endless headers, cannot hold
// a worker for long; every wait to write lasts at most a given time.
#include <httplib.h>

#include <chrono>
#include <cstddef>

namespace qor::headoffice {

struct ConnectionLimits {
    std::chrono::milliseconds readTime{10000};   // to receive the whole request
    std::chrono::milliseconds writeWait{5000};   // for the store to take more of the reply
    std::size_t readBytes = 128 * 1024;          // request line, headers and body together
};

class RequestStream : public httplib::Stream {
public:
    // Does not own `socket`.
    RequestStream(socket_t socket, const ConnectionLimits& limits);

    bool is_readable() const override;
    bool is_writable() const override;
    // -1 once the deadline has passed or the byte budget is spent, and on any socket error.
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return socket_; }

private:
    using Clock = std::chrono::steady_clock;
    // Waits for `events` at most `limit`; true when they came.
    bool waitFor(short events, std::chrono::milliseconds limit) const;
    std::chrono::milliseconds readTimeLeft() const;

    socket_t socket_;
    ConnectionLimits limits_;
    Clock::time_point deadline_;
    std::size_t bytesLeft_;
    // The library reads request lines a byte at a time; a buffer saves a system call each.
    char buffer_[8192];
    std::size_t begin_ = 0, end_ = 0;
};

}  // namespace qor::headoffice
