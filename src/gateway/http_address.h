#pragma once
// HTTP addresses taken apart the way the gateway client reads them.
#include <string>
#include <string_view>

namespace qor::gateway {

struct HttpAddress {
    bool tls = false;         // "https://": the exchange goes inside TLS
    std::string host;
    std::string portText;     // as written; "80" ("443" for https) when the address names none
    unsigned short port = 80;
    std::string target;       // from the first "/" after host and port: the request target
};

// Takes an "http://" or "https://" address apart. Every backslash outside a double-byte
// character reads as "/", and a "#" ends the address: what follows it is never sent. Fails
// with a TransportFailure for another protocol or a port that is not a number.
HttpAddress parseHttpAddress(std::string_view address);

// The address a Location header points to, read against the address of the request that
// was redirected: an absolute "http://" or "https://" address, "//host/..." (the request's
// protocol), a path on the same host, or a path relative to the request's folder.
HttpAddress resolveLocation(const HttpAddress& request, std::string_view location);

// A Location header's value that can be followed: not empty and without control characters,
// which would end the next request's request line early.
bool isFollowableLocation(std::string_view location);

// The Host header value: the host, with ":" and the port unless the port text is exactly the
// protocol's own ("80", "443" for https).
std::string hostHeader(const HttpAddress& address);

}  // namespace qor::gateway
