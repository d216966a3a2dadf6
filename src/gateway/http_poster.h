#pragma once
// The HTTP client of the gateway module: posts a multipart form, follows redirects, keeps
// the cookies, and gives back the answer's body.
#include <chrono>
#include <functional>
#include <string>

#include "gateway/body_watcher.h"
#include "gateway/cookie_store.h"
#include "gateway/socket_connection.h"
#include "gateway/tls_trust.h"

namespace qor::gateway {

// Requests sent for one call at most; a 15th request redirected again ends in an empty reply.
inline constexpr int kMaxRequestsPerCall = 15;

class HttpPoster {
public:
    // `limit` bounds the connect and every wait for data; an https address is reached inside
    // TLS, trusting what `trust` says.
    explicit HttpPoster(std::chrono::milliseconds limit, TlsTrust trust = {});

    // POSTs `body` (multipart/form-data with `boundary`) to `address` and returns the body of
    // the 2xx answer, byte for byte. A connection kept alive by the previous call is closed
    // first. Failures (connection, time limit, over-long lines, a status that is neither 2xx
    // nor a redirect, whose text is then the status line; a redirect from https to http,
    // "Redirect from https to http refused: <Location>") are TransportFailures.
    // `watcher`, when given, follows the answer's body as it arrives (not the bodies of
    // redirects and failures). `whileWaiting`, when given, runs every short while that the
    // call waits for the gateway (SocketConnection::whileWaiting); what it throws ends the
    // call, the connection closed. Neither is kept after the call.
    std::string post(const std::string& address, const std::string& boundary,
                     const std::string& body, BodyWatcher* watcher = nullptr,
                     std::function<void()> whileWaiting = {});

    // The connection of the last answer is still open (it asked for keep-alive).
    bool holdsConnection() const { return connection_.isOpen(); }

private:
    std::string exchange(const std::string& address, const std::string& boundary,
                         const std::string& body, BodyWatcher* watcher);

    std::chrono::milliseconds limit_;
    TlsTrust trust_;
    SocketConnection connection_;
    CookieStore cookies_;
};

}  // namespace qor::gateway
