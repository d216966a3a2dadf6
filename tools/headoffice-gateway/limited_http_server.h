#pragma once
// The HTTP server of the gateway: cpp-httplib's, serving each connection for one request
// under the limits of a RequestStream, with a listening queue deep enough for many stores
// connecting at once.
#include <httplib.h>

#include "request_stream.h"

namespace qor::headoffice {

class LimitedHttpServer : public httplib::Server {
public:
    explicit LimitedHttpServer(const ConnectionLimits& limits) : limits_(limits) {}

    // After binding: the library listens with a queue of 5, and connections beyond it wait
    // a second or more for the system to retry them.
    void deepenListenQueue();

private:
    // One request per connection: stores open a connection for every request anyway.
    bool process_and_close_socket(socket_t sock) override;

    ConnectionLimits limits_;
};

}  // namespace qor::headoffice
