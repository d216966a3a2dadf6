#include "storedb/text_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "text/profile.h"

namespace qor::storedb {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads 1..maxDigits digits at `at`.
std::optional<int> readDigits(std::string_view s, std::size_t& at, int maxDigits) {
    std::size_t start = at;
    int v = 0;
    while (at < s.size() && isDigit(s[at]) && static_cast<int>(at - start) < maxDigits)
        v = v * 10 + (s[at++] - '0');
    if (at == start || (at < s.size() && isDigit(s[at]))) return std::nullopt;
    return v;
}

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : days[m - 1];
}

int currentCentury() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return (local.tm_year + 1900) / 100 * 100;
}

std::optional<ds::Date> readDate(std::string_view s, std::size_t& at) {
    std::size_t yearStart = at;
    auto y = readDigits(s, at, 4);
    if (!y || at >= s.size() || s[at] != '/') return std::nullopt;
    bool twoDigitYear = at - yearStart <= 2;
    ++at;
    auto m = readDigits(s, at, 2);
    if (!m || at >= s.size() || s[at] != '/') return std::nullopt;
    ++at;
    auto d = readDigits(s, at, 2);
    if (!d) return std::nullopt;
    int year = twoDigitYear ? currentCentury() + *y : *y;
    if (year < 1 || *m < 1 || *m > 12 || *d < 1 || *d > daysInMonth(year, *m)) return std::nullopt;
    return ds::Date{year, *m, *d};
}

std::optional<ds::Time> readTime(std::string_view s, std::size_t& at) {
    auto h = readDigits(s, at, 2);
    if (!h || at >= s.size() || s[at] != ':') return std::nullopt;
    ++at;
    auto m = readDigits(s, at, 2);
    if (!m) return std::nullopt;
    int sec = 0, msec = 0;
    if (at < s.size() && s[at] == ':') {
        ++at;
        auto v = readDigits(s, at, 2);
        if (!v) return std::nullopt;
        sec = *v;
        if (at < s.size() && s[at] == '.') {
            ++at;
            auto z = readDigits(s, at, 3);
            if (!z) return std::nullopt;
            msec = *z;
        }
    }
    if (*h > 23 || *m > 59 || sec > 59) return std::nullopt;
    return ds::Time{*h, *m, sec, msec};
}

std::string twoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string dateText(const ds::Date& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", d.year, d.month, d.day);
    return buf;
}

std::string timeText(const ds::Time& t) {
    return twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

std::string floatText(double v) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
    if (v == 0) return "0";  // minus zero too
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    std::string s = buf;
    // "1e+20" is written "1E20", "1e-05" "1E-5".
    auto e = s.find('e');
    if (e == std::string::npos) return s;
    std::string mantissa = s.substr(0, e);
    std::string exponent = s.substr(e + 1);
    bool negative = exponent[0] == '-';
    exponent = exponent.substr(exponent[0] == '-' || exponent[0] == '+' ? 1 : 0);
    while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
    return mantissa + "E" + (negative ? "-" : "") + exponent;
}

}  // namespace

std::optional<std::int32_t> parseWholeNumber(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ') ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at == text.size() || !isDigit(text[at])) return std::nullopt;
    std::uint64_t v = 0;
    auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (v > (negative ? 2147483648ull : 2147483647ull)) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(v)
                                              : static_cast<std::int64_t>(v));
}

std::optional<double> parseNumber(std::string_view text) {
    std::string s = text::trimBlanks(text);
    std::size_t at = 0;
    bool negative = false;
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) negative = s[at++] == '-';
    // A digit or a point must follow: no "inf", "nan", hexadecimal or second sign.
    if (at == s.size() || !(isDigit(s[at]) || s[at] == '.')) return std::nullopt;
    for (std::size_t i = at; i < s.size(); ++i)
        if (!isDigit(s[i]) && s[i] != '+' && s[i] != '-' && s[i] != '.' && s[i] != 'e' && s[i] != 'E')
            return std::nullopt;
    double v = 0;
    auto [end, ec] = std::from_chars(s.data() + at, s.data() + s.size(), v,
                                     std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return negative ? -v : v;
}

std::optional<ds::Date> parseDate(std::string_view text) {
    std::string s = text::trimBlanks(text);
    std::size_t at = 0;
    auto d = readDate(s, at);
    if (!d || at != s.size()) return std::nullopt;
    return d;
}

std::optional<ds::Time> parseTime(std::string_view text) {
    std::string s = text::trimBlanks(text);
    std::size_t at = 0;
    auto t = readTime(s, at);
    if (!t || at != s.size()) return std::nullopt;
    return t;
}

std::optional<ds::DateTime> parseDateTime(std::string_view text) {
    std::string s = text::trimBlanks(text);
    std::size_t at = 0;
    auto d = readDate(s, at);
    if (!d) return std::nullopt;
    if (at == s.size()) return ds::DateTime{*d, {}};
    if (s[at] != ' ') return std::nullopt;
    while (at < s.size() && s[at] == ' ') ++at;
    auto t = readTime(s, at);
    if (!t || at != s.size()) return std::nullopt;
    return ds::DateTime{*d, *t};
}

std::string valueText(const ds::Value& value) {
    struct Text {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const { return floatText(v); }
        std::string operator()(bool v) const { return v ? "True" : "False"; }
        std::string operator()(const ds::Date& d) const { return dateText(d); }
        std::string operator()(const ds::Time& t) const { return timeText(t); }
        std::string operator()(const ds::DateTime& dt) const {
            if (dt.time == ds::Time{}) return dateText(dt.date);
            return dateText(dt.date) + " " + timeText(dt.time);
        }
    };
    return std::visit(Text{}, value);
}

}  // namespace qor::storedb
