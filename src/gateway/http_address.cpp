#include "gateway/http_address.h"

#include <algorithm>
#include <cctype>

#include "gateway/transport_failure.h"
#include "text/ascii.h"
#include "text/cp950.h"

namespace qor::gateway {

namespace {

// Backslashes become "/" (a trail byte 0x5C of a Big5 character stays), and the address
// ends at its first "#".
std::string normalised(std::string_view address) {
    std::string out(address.substr(0, address.find('#')));
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (text::isLeadByte(static_cast<unsigned char>(out[i])) && i + 1 < out.size()) {
            ++i;
            continue;
        }
        if (out[i] == '\\') out[i] = '/';
    }
    return out;
}

// One to five digits, no sign, from 1 to 65535.
unsigned short portNumber(const std::string& port) {
    const bool digits = port.size() <= 5 && std::all_of(port.begin(), port.end(), text::isDigit);
    const auto value = digits ? text::parseWholeNumber<unsigned short>(port) : std::nullopt;
    if (!value || *value == 0) throw TransportFailure("Invalid port number: " + port);
    return *value;
}

// The protocol name of "name://...", or empty when the text starts with none.
std::string protocolOf(const std::string& s) {
    auto colon = s.find("://");
    if (colon == std::string::npos || colon == 0) return {};
    for (std::size_t i = 0; i < colon; ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return {};
    }
    return s.substr(0, colon);
}

HttpAddress parseNormalised(const std::string& s) {
    std::string protocol = protocolOf(s);
    const bool tls = text::equalsNoCase(protocol, "https");
    if (!tls && !text::equalsNoCase(protocol, "http"))
        throw TransportFailure("Unsupported protocol: " + (protocol.empty() ? s : protocol));
    std::string rest = s.substr(protocol.size() + 3);
    auto pathStart = rest.find('/');
    auto queryStart = rest.find('?');
    auto authorityEnd = std::min(pathStart, queryStart);
    std::string authority = rest.substr(0, authorityEnd);

    HttpAddress address;
    address.tls = tls;
    auto colon = authority.rfind(':');
    if (colon == std::string::npos) {
        address.host = authority;
        address.portText = tls ? "443" : "80";
    } else {
        address.host = authority.substr(0, colon);
        address.portText = authority.substr(colon + 1);
    }
    address.port = portNumber(address.portText);
    if (authorityEnd == std::string::npos) address.target = "/";
    else if (authorityEnd == pathStart) address.target = rest.substr(pathStart);
    else address.target = "/" + rest.substr(queryStart);
    return address;
}

}  // namespace

HttpAddress parseHttpAddress(std::string_view address) { return parseNormalised(normalised(address)); }

HttpAddress resolveLocation(const HttpAddress& request, std::string_view location) {
    std::string loc = normalised(text::trimBlanks(location));
    if (!protocolOf(loc).empty()) return parseNormalised(loc);
    if (loc.starts_with("//")) return parseNormalised((request.tls ? "https:" : "http:") + loc);

    HttpAddress next = request;
    std::string path = request.target.substr(0, request.target.find('?'));
    if (loc.starts_with("/")) next.target = loc;
    else if (loc.empty()) next.target = request.target;
    else if (loc.starts_with("?")) next.target = path + loc;
    else next.target = path.substr(0, path.rfind('/') + 1) + loc;
    return next;
}

bool isFollowableLocation(std::string_view location) {
    return !location.empty() && std::none_of(location.begin(), location.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

std::string hostHeader(const HttpAddress& address) {
    if (address.portText == (address.tls ? "443" : "80")) return address.host;
    return address.host + ":" + address.portText;
}

}  // namespace qor::gateway
