#pragma once
// HTTP addresses taken apart the way the gateway client reads them.
#include <string>
#include <string_view>

namespace qor::gateway {

struct HttpAddress {
    std::string host;
    std::string portText;     // as written; "80" when the address names no port
    unsigned short port = 80;
    std::string target;       // from the first "/" after host and port: the request target
};

// Takes an "http://" address apart. Every backslash outside a double-byte character reads
// as "/", and a "#" ends the address: what follows it is never sent. Fails with a
// TransportFailure for another protocol or a port that is not a number.
HttpAddress parseHttpAddress(std::string_view address);

// The address a Location header points to, read against the address of the request that
// was redirected: an absolute "http://" address, "//host/...", a path on the same host, or
// a path relative to the request's folder.
HttpAddress resolveLocation(const HttpAddress& request, std::string_view location);

// A Location header's value that can be followed: not empty and without control characters,
// which would end the next request's request line early.
bool isFollowableLocation(std::string_view location);

// The Host header value: the host, with ":" and the port unless the port text is exactly "80".
std::string hostHeader(const HttpAddress& address);

}  // namespace qor::gateway
