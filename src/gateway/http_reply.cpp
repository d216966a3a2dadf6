#include "gateway/http_reply.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "text/ascii.h"

namespace qor::gateway {

namespace {

// A whole number with an optional sign; one too large to hold reads as the largest of its sign.
std::optional<long long> wholeNumber(std::string_view s) {
    if (auto value = text::parseWholeNumber<long long>(s)) return value;
    const bool hasSign = !s.empty() && (s.front() == '+' || s.front() == '-');
    const std::string_view digits = s.substr(hasSign ? 1 : 0);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), text::isDigit))
        return std::nullopt;
    const long long most = std::numeric_limits<long long>::max();
    return s.front() == '-' ? -most : most;
}

}  // namespace

const std::string* ReplyHead::header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (text::equalsNoCase(key, name)) return &value;
    return nullptr;
}

bool ReplyHead::hasHeaderContaining(std::string_view name, std::string_view part) const {
    for (const auto& [key, value] : headers)
        if (text::equalsNoCase(key, name) && text::containsNoCase(value, part)) return true;
    return false;
}

int statusCodeOf(std::string_view statusLine) {
    auto first = statusLine.find_first_not_of(' ');
    auto gap = statusLine.find(' ', first);
    if (first == std::string_view::npos || gap == std::string_view::npos) return -1;
    auto start = statusLine.find_first_not_of(' ', gap);
    if (start == std::string_view::npos) return -1;
    auto end = statusLine.find(' ', start);
    auto number = wholeNumber(statusLine.substr(start, end == std::string_view::npos ? end : end - start));
    if (!number || *number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(*number);
}

ReplyHead readReplyHead(ReplyReader& reader) {
    ReplyHead head;
    head.statusLine = reader.readLine();
    head.status = statusCodeOf(head.statusLine);
    while (true) {
        std::string line = reader.readLine();
        if (line.empty()) return head;
        auto colon = line.find(':');
        if (colon == std::string::npos) continue;  // not a header: nothing to take from it
        head.headers.emplace_back(text::trimBlanks(std::string_view(line).substr(0, colon)),
                                  text::trimBlanks(std::string_view(line).substr(colon + 1)));
    }
}

std::string readReplyBody(ReplyReader& reader, const ReplyHead& head, BodyWatcher* watcher) {
    if (head.status == 204 || head.status == 304) return {};
    std::optional<long long> length;
    if (const std::string* value = head.header("Content-Length")) length = wholeNumber(*value);
    const bool counted = length && *length > 0;
    const bool chunked = !counted && head.hasHeaderContaining("Transfer-Encoding", "chunked");
    if (!counted && !chunked && length) return {};

    reader.watchBody(watcher);
    if (watcher)
        watcher->bodyStarts(counted ? std::optional<std::size_t>(static_cast<std::size_t>(*length))
                                    : std::nullopt);
    if (counted) return reader.readUpTo(static_cast<std::size_t>(*length));
    if (chunked) return reader.readChunked();
    return reader.readToClose();
}

}  // namespace qor::gateway
