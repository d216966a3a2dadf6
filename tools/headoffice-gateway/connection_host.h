#pragma once
// What a store's connection and the gateway that accepted it know of each other: the limits
// a request is read under, the request handed over once read whole, and the connection's
// side of a reply. Keeps the connection, a template over its byte stream, apart from the
// server.
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "gateway_request.h"
#include "reply_sink.h"

namespace qor::headoffice {

struct ConnectionLimits {
    std::chrono::milliseconds readTime{10000};  // to receive the whole request
    std::chrono::milliseconds writeWait{5000};  // for the store to take each piece of the reply
    std::size_t headBytes = 64 * 1024;          // request line and headers; more: 431
    std::size_t bodyBytes = 64 * 1024;          // the body; more: 413
};

class Connection : public ReplySink {
public:
    // On the network thread: the whole reply is `bytes`; sent, logged with `status` and
    // `outcome`, then the connection closes.
    virtual void replyNow(std::shared_ptr<const std::string> bytes, int status,
                          ReplyOutcome outcome) = 0;
    // On the network thread: a request still being read ends now, unanswered (the gateway
    // is stopping).
    virtual void abortRead() = 0;
    // "address:port" of the store.
    virtual const std::string& peer() const = 0;
};

class ConnectionHost {
public:
    virtual ~ConnectionHost() = default;
    virtual const ConnectionLimits& limits() const = 0;
    // On the network thread, once a request has been read whole.
    virtual void requestRead(std::shared_ptr<Connection> connection, std::string_view method,
                             GatewayRequest request) = 0;
    // On the network thread: the connection is reading its request, or no longer.
    virtual void readingStarted(Connection* connection) = 0;
    virtual void readingEnded(Connection* connection) = 0;
    // From a connection's destructor: one open connection fewer.
    virtual void connectionEnded() = 0;
};

}  // namespace qor::headoffice
