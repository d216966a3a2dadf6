#pragma once
// Cookies the gateway sets, kept for the life of the program and sent back to the host that
// set them (path, Max-Age and Expires follow the usual cookie rules).
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qor::gateway {

class CookieStore {
public:
    using Clock = std::chrono::system_clock;
    // Seconds, so that far dates (year 9999 is common) do not overflow.
    using Seconds = std::chrono::sys_seconds;

    // Takes the value of a "Set-Cookie" header (one cookie) or a "Set-Cookie2" header (cookies
    // separated by commas) of a reply to a request for `requestTarget` on `host`. A cookie
    // that holds a control character other than the tab is ignored.
    void storeSetCookie(const std::string& host, const std::string& requestTarget,
                        std::string_view headerValue);
    void storeSetCookie2(const std::string& host, const std::string& requestTarget,
                         std::string_view headerValue);

    // The Cookie header for a request: "name=value" pairs joined with "; ", longer paths
    // first, then oldest first; empty when no cookie is held for that host and path.
    std::string cookieHeader(const std::string& host, const std::string& requestTarget) const;

private:
    struct Cookie {
        std::string host;  // lower case
        std::string name;
        std::string value;
        std::string path;
        std::optional<Seconds> expires;
    };
    void store(const std::string& host, const std::string& requestTarget, std::string_view one);
    std::vector<Cookie> cookies_;  // in the order they were first set
};

// A cookie date (RFC 6265 reading: "Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94
// 08:49:37 GMT", "Sun Nov  6 08:49:37 1994"); nullopt when it cannot be read.
std::optional<std::chrono::sys_seconds> parseCookieDate(std::string_view text);

}  // namespace qor::gateway
