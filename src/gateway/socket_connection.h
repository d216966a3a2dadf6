#pragma once
// One TCP connection to the gateway, in the clear or inside TLS. Every blocking step waits at
// most the given time; running out of time, or any socket or TLS error, is a TransportFailure.
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "gateway/tls_trust.h"

namespace qor::gateway {

class SocketConnection {
public:
    SocketConnection();
    ~SocketConnection();
    SocketConnection(const SocketConnection&) = delete;
    SocketConnection& operator=(const SocketConnection&) = delete;

    // Failure texts: "Connect timed out.", "Connection refused.", or the system's text.
    // With `tls`, the connection then goes inside TLS 1.2 or 1.3: the gateway's certificate
    // chain must verify against what `tls` trusts and name `host`, or nothing is sent and the
    // failure reads "certificate verify failed (<the reason>)", for example "(self-signed
    // certificate)", "(certificate has expired)", "(hostname mismatch)"; a CA file that cannot
    // be read: "Cannot read the CA file <path>."; a handshake that fails otherwise: its reason,
    // or "TLS handshake timed out.".
    void connect(const std::string& host, unsigned short port, std::chrono::milliseconds limit,
                 const TlsTrust* tls = nullptr);
    // Failure texts: "Write timed out." or the system's text.
    void write(std::string_view bytes, std::chrono::milliseconds limit);
    // Up to `size` bytes; 0 once the other side has closed. Failure texts: "Read timed out."
    // or the system's text.
    std::size_t readSome(char* buffer, std::size_t size, std::chrono::milliseconds limit);
    void close();
    bool isOpen() const;

    // From now on `hook` runs every kWaitSlice that a connect, write or read goes on waiting,
    // so that whoever waits can look up (repaint, see a stop asked for). When it throws, the
    // operation is given up, the connection closed, and the exception passes on. An empty
    // hook: waits go uncut, as long as their limit.
    void whileWaiting(std::function<void()> hook);
    static constexpr std::chrono::milliseconds kWaitSlice{100};

private:
    void startTls(const std::string& host, const TlsTrust& trust, std::chrono::milliseconds limit);

    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace qor::gateway
