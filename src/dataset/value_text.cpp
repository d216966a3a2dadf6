#include "dataset/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "dataset/calendar.h"
#include "text/ascii.h"
#include "text/errors.h"

namespace qor::ds {

namespace {

using text::isDigit;

// Value texts may carry spaces and tabs around them, nothing else.
std::string_view trimmed(std::string_view s) { return text::trimmedView(s, " \t"); }

// Reads 1 to `maxDigits` digits at `pos`; advances `pos`.
std::optional<int> readNumber(std::string_view s, std::size_t& pos, int maxDigits) {
    int value = 0, count = 0;
    while (pos < s.size() && isDigit(s[pos]) && count < maxDigits) {
        value = value * 10 + (s[pos] - '0');
        ++pos;
        ++count;
    }
    if (count == 0) return std::nullopt;
    return value;
}

std::string twoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::optional<Date> readDate(std::string_view s, std::size_t& pos) {
    auto year = readNumber(s, pos, 4);
    if (!year || pos >= s.size() || s[pos] != '/') return std::nullopt;
    ++pos;
    auto month = readNumber(s, pos, 2);
    if (!month || pos >= s.size() || s[pos] != '/') return std::nullopt;
    ++pos;
    auto day = readNumber(s, pos, 2);
    if (!day) return std::nullopt;
    Date d{*year, *month, *day};
    if (!isValidDate(d)) return std::nullopt;
    return d;
}

std::optional<Time> readTime(std::string_view s, std::size_t& pos) {
    auto hour = readNumber(s, pos, 2);
    if (!hour || pos >= s.size() || s[pos] != ':') return std::nullopt;
    ++pos;
    auto minute = readNumber(s, pos, 2);
    if (!minute) return std::nullopt;
    Time t{*hour, *minute, 0, 0};
    if (pos < s.size() && s[pos] == ':') {
        ++pos;
        auto second = readNumber(s, pos, 2);
        if (!second) return std::nullopt;
        t.second = *second;
        if (pos < s.size() && s[pos] == '.') {
            ++pos;
            auto msec = readNumber(s, pos, 3);
            if (!msec) return std::nullopt;
            t.msec = *msec;
        }
    }
    if (!isValidTime(t)) return std::nullopt;
    return t;
}

}  // namespace

const char* kindName(FieldKind kind) {
    switch (kind) {
        case FieldKind::String: return "String";
        case FieldKind::SmallInt: return "SmallInt";
        case FieldKind::Integer: return "Integer";
        case FieldKind::Word: return "Word";
        case FieldKind::LargeInt: return "LargeInt";
        case FieldKind::Float: return "Float";
        case FieldKind::Currency: return "Currency";
        case FieldKind::BCD: return "BCD";
        case FieldKind::Boolean: return "Boolean";
        case FieldKind::Date: return "Date";
        case FieldKind::Time: return "Time";
        case FieldKind::DateTime: return "DateTime";
        case FieldKind::Memo: return "Memo";
        case FieldKind::Binary: return "Blob";
    }
    return "Unknown";
}

std::string formatFloat(double v) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
    if (v == 0) return "0";  // also minus zero
    // As printf's "%.15g" writes it, without the cost of a formatted print.
    char buf[40];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    std::string s(buf, ec == std::errc() ? end : buf);
    // "%g" writes "1e+20" / "1.5e-07"; the program's form is "1E20" / "1.5E-7".
    auto e = s.find('e');
    if (e == std::string::npos) return s;
    std::string mantissa = s.substr(0, e);
    std::size_t at = e + 1;
    bool negative = false;
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) negative = s[at++] == '-';
    while (at + 1 < s.size() && s[at] == '0') ++at;
    return mantissa + "E" + (negative ? "-" : "") + s.substr(at);
}

std::optional<double> parseFloat(std::string_view text) {
    std::string_view s = trimmed(text);
    if (s.empty()) return std::nullopt;
    if (s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+') return std::nullopt;
    // Only digits, one point, a sign and an exponent: no "inf", "nan" or hexadecimal.
    for (char c : s)
        if (!isDigit(c) && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
            return std::nullopt;
    double v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v,
                                     std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

std::string formatInteger(std::int64_t v) { return std::to_string(v); }

std::optional<std::int64_t> parseInteger(std::string_view text) {
    return text::parseWholeNumber(trimmed(text));
}

std::string formatBoolean(bool v) { return v ? "True" : "False"; }

std::optional<bool> parseBoolean(std::string_view text) {
    std::string_view s = trimmed(text);
    std::string up;
    for (char c : s) up += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    if (up == "TRUE" || up == "T" || up == "Y" || up == "1") return true;
    if (up == "FALSE" || up == "F" || up == "N" || up == "0") return false;
    return std::nullopt;
}

bool isValidDate(const Date& d) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.year < 1 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1) return false;
    const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
    const int last = days[d.month - 1] + (d.month == 2 && leap ? 1 : 0);
    return d.day <= last;
}

bool isValidTime(const Time& t) {
    return t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 &&
           t.second < 60 && t.msec >= 0 && t.msec < 1000;
}

std::string formatDate(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", d.year, d.month, d.day);
    return buf;
}

std::optional<Date> parseDate(std::string_view text) {
    std::string_view s = trimmed(text);
    std::size_t pos = 0;
    auto d = readDate(s, pos);
    if (!d || pos != s.size()) return std::nullopt;
    return d;
}

std::string formatTime(const Time& t) {
    return twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

std::optional<Time> parseTime(std::string_view text) {
    std::string_view s = trimmed(text);
    std::size_t pos = 0;
    auto t = readTime(s, pos);
    if (!t || pos != s.size()) return std::nullopt;
    return t;
}

std::string formatDateTime(const DateTime& dt) {
    if (dt.time == Time{}) return formatDate(dt.date);
    return formatDate(dt.date) + " " + formatTime(dt.time);
}

std::optional<DateTime> parseDateTime(std::string_view text) {
    std::string_view s = trimmed(text);
    std::size_t pos = 0;
    auto d = readDate(s, pos);
    if (!d) return std::nullopt;
    DateTime dt{*d, Time{}};
    if (pos == s.size()) return dt;
    if (s[pos] != ' ') return std::nullopt;
    while (pos < s.size() && s[pos] == ' ') ++pos;
    auto t = readTime(s, pos);
    if (!t || pos != s.size()) return std::nullopt;
    dt.time = *t;
    return dt;
}

double toSerial(const DateTime& dt) {
    const double days = double(daysFromCivil(dt.date) - daysFromCivil(kSerialDateEpoch));
    const double fraction =
        (dt.time.hour * 3600000.0 + dt.time.minute * 60000.0 + dt.time.second * 1000.0 +
         dt.time.msec) / 86400000.0;
    // Before the base day the fraction still counts forward from midnight.
    return days >= 0 ? days + fraction : days - fraction;
}

std::string valueToText(const Value& v) {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(std::int64_t i) const { return formatInteger(i); }
        std::string operator()(double d) const { return formatFloat(d); }
        std::string operator()(bool b) const { return formatBoolean(b); }
        std::string operator()(const Date& d) const { return formatDate(d); }
        std::string operator()(const Time& t) const { return formatTime(t); }
        std::string operator()(const DateTime& dt) const { return formatDateTime(dt); }
    };
    return std::visit(Visitor{}, v);
}

std::optional<Value> textToValue(std::string_view text, FieldKind kind) {
    switch (kind) {
        case FieldKind::String:
        case FieldKind::Memo:
        case FieldKind::Binary:
            return Value(std::string(text));
        default:
            break;
    }
    if (trimmed(text).empty()) return Value{};
    switch (kind) {
        case FieldKind::SmallInt:
        case FieldKind::Integer:
        case FieldKind::Word:
        case FieldKind::LargeInt:
            if (auto i = parseInteger(text)) return Value(*i);
            return std::nullopt;
        case FieldKind::Float:
        case FieldKind::Currency:
        case FieldKind::BCD:
            if (auto f = parseFloat(text)) return Value(*f);
            return std::nullopt;
        case FieldKind::Boolean:
            if (auto b = parseBoolean(text)) return Value(*b);
            return std::nullopt;
        case FieldKind::Date:
            if (auto d = parseDate(text)) return Value(*d);
            return std::nullopt;
        case FieldKind::Time:
            if (auto t = parseTime(text)) return Value(*t);
            return std::nullopt;
        case FieldKind::DateTime:
            if (auto dt = parseDateTime(text)) return Value(*dt);
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::string notValidMessage(std::string_view text, FieldKind kind) {
    const char* pattern = "'%s' is not a valid value";
    switch (kind) {
        case FieldKind::SmallInt:
        case FieldKind::Integer:
        case FieldKind::Word:
        case FieldKind::LargeInt:
            pattern = "'%s' is not a valid integer value";
            break;
        case FieldKind::Float:
        case FieldKind::Currency:
        case FieldKind::BCD:
            pattern = "'%s' is not a valid floating point value";
            break;
        case FieldKind::Boolean:
            pattern = "'%s' is not a valid boolean value";
            break;
        case FieldKind::Date:
            pattern = "'%s' is not a valid date";
            break;
        case FieldKind::Time:
            pattern = "'%s' is not a valid time";
            break;
        case FieldKind::DateTime:
            pattern = "'%s' is not a valid date and time";
            break;
        default:
            break;
    }
    return qor::format(pattern, text);
}

}  // namespace qor::ds
