#include "gateway/cookie_store.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "text/ascii.h"

namespace qor::gateway {

namespace {

std::string pathOf(const std::string& requestTarget) {
    return requestTarget.substr(0, requestTarget.find('?'));
}

// The folder of the request path: the default path of a cookie that names none.
std::string defaultPath(const std::string& requestTarget) {
    std::string path = pathOf(requestTarget);
    auto slash = path.rfind('/');
    if (path.empty() || path[0] != '/' || slash == 0 || slash == std::string::npos) return "/";
    return path.substr(0, slash);
}

CookieStore::Seconds now() {
    return std::chrono::floor<std::chrono::seconds>(CookieStore::Clock::now());
}

bool pathMatches(const std::string& requestPath, const std::string& cookiePath) {
    if (requestPath == cookiePath) return true;
    if (!requestPath.starts_with(cookiePath)) return false;
    return cookiePath.ends_with('/') || requestPath[cookiePath.size()] == '/';
}

// Control characters other than the tab: a cookie holding one is ignored whole, as browsers
// do, since a CR in it would end the Cookie header line of the next request early.
bool isControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u < 0x20 && c != '\t') || u == 0x7F;
}

std::vector<std::string_view> split(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        auto at = s.find(separator, start);
        parts.push_back(s.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

}  // namespace

void CookieStore::storeSetCookie(const std::string& host, const std::string& requestTarget,
                                 std::string_view headerValue) {
    store(host, requestTarget, headerValue);
}

void CookieStore::storeSetCookie2(const std::string& host, const std::string& requestTarget,
                                  std::string_view headerValue) {
    // Commas separate cookies, except inside a quoted value.
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= headerValue.size(); ++i) {
        if (i < headerValue.size() && headerValue[i] == '"') quoted = !quoted;
        if (i == headerValue.size() || (headerValue[i] == ',' && !quoted)) {
            store(host, requestTarget, headerValue.substr(start, i - start));
            start = i + 1;
        }
    }
}

void CookieStore::store(const std::string& host, const std::string& requestTarget,
                        std::string_view one) {
    if (std::any_of(one.begin(), one.end(), isControl)) return;
    auto parts = split(one, ';');
    auto pair = parts.front();
    auto equals = pair.find('=');
    if (equals == std::string_view::npos) return;
    Cookie cookie;
    cookie.host = text::lowerAscii(host);
    cookie.name = text::trimBlanks(pair.substr(0, equals));
    cookie.value = text::trimBlanks(pair.substr(equals + 1));
    if (cookie.name.empty()) return;
    cookie.path = defaultPath(requestTarget);

    std::optional<Seconds> maxAge;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        auto at = parts[i].find('=');
        std::string name = text::trimBlanks(parts[i].substr(0, at));
        std::string value =
            at == std::string_view::npos ? std::string() : text::trimBlanks(parts[i].substr(at + 1));
        if (text::equalsNoCase(name, "path")) {
            if (value.starts_with('/')) cookie.path = value;
        } else if (text::equalsNoCase(name, "expires")) {
            if (auto when = parseCookieDate(value)) cookie.expires = when;
        } else if (text::equalsNoCase(name, "max-age")) {
            // A value that is no number is ignored.
            if (auto seconds = text::parseWholeNumber<long long>(value)) {
                constexpr long long kCentury = 100LL * 366 * 24 * 3600;
                maxAge = *seconds <= 0 ? Seconds::min()
                                       : now() + std::chrono::seconds(std::min(*seconds, kCentury));
            }
        }
    }
    if (maxAge) cookie.expires = maxAge;

    auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const Cookie& c) {
        return c.host == cookie.host && c.name == cookie.name && c.path == cookie.path;
    });
    const bool expired = cookie.expires && *cookie.expires <= now();
    if (same != cookies_.end()) {
        if (expired) cookies_.erase(same);
        else *same = std::move(cookie);  // keeps its place: the first setting's order
    } else if (!expired) {
        cookies_.push_back(std::move(cookie));
    }
}

std::string CookieStore::cookieHeader(const std::string& host,
                                      const std::string& requestTarget) const {
    const std::string key = text::lowerAscii(host);
    const std::string path = pathOf(requestTarget);
    const auto current = now();
    std::vector<const Cookie*> chosen;
    for (const auto& cookie : cookies_) {
        if (cookie.host != key || !pathMatches(path, cookie.path)) continue;
        if (cookie.expires && *cookie.expires <= current) continue;
        chosen.push_back(&cookie);
    }
    std::stable_sort(chosen.begin(), chosen.end(), [](const Cookie* a, const Cookie* b) {
        return a->path.size() > b->path.size();
    });
    std::string header;
    for (const Cookie* cookie : chosen) {
        if (!header.empty()) header += "; ";
        header += cookie->name + "=" + cookie->value;
    }
    return header;
}

std::optional<std::chrono::sys_seconds> parseCookieDate(std::string_view text) {
    static const char* const months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                         "jul", "aug", "sep", "oct", "nov", "dec"};
    int hour = -1, minute = 0, second = 0, day = -1, month = -1, year = -1;
    std::size_t i = 0;
    while (i < text.size()) {
        // Tokens are runs of letters, digits and ":"; everything else separates them.
        while (i < text.size() && !std::isalnum(static_cast<unsigned char>(text[i])) &&
               text[i] != ':')
            ++i;
        std::size_t start = i;
        while (i < text.size() &&
               (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == ':'))
            ++i;
        std::string token(text.substr(start, i - start));
        if (token.empty()) continue;
        int h, m, s;
        char tail;
        if (hour < 0 && std::sscanf(token.c_str(), "%2d:%2d:%2d%c", &h, &m, &s, &tail) == 3) {
            hour = h, minute = m, second = s;
        } else if (std::isdigit(static_cast<unsigned char>(token[0])) &&
                   token.find_first_not_of("0123456789") == std::string::npos) {
            const int number = text::parseWholeNumber<int>(token).value_or(-1);
            if (day < 0 && token.size() <= 2) day = number;
            else if (year < 0 && token.size() >= 2 && token.size() <= 4) year = number;
        } else if (month < 0 && token.size() >= 3) {
            std::string prefix = text::lowerAscii(token.substr(0, 3));
            for (int k = 0; k < 12; ++k)
                if (prefix == months[k]) month = k;
        }
    }
    if (year >= 70 && year <= 99) year += 1900;
    else if (year >= 0 && year <= 69) year += 2000;
    if (hour < 0 || day < 1 || day > 31 || month < 0 || year < 1601 || hour > 23 ||
        minute > 59 || second > 59)
        return std::nullopt;
    // A day past the month's end runs on into the next month, as timegm counts it.
    namespace chrono = std::chrono;
    const chrono::sys_days date{chrono::year_month_day{
        chrono::year{year}, chrono::month{static_cast<unsigned>(month + 1)},
        chrono::day{static_cast<unsigned>(day)}}};
    return chrono::sys_seconds(date) + chrono::hours(hour) + chrono::minutes(minute) +
           chrono::seconds(second);
}

}  // namespace qor::gateway
