#include "dataset/packet_values.h"

#include <charconv>
#include <cstdint>
#include <utility>

#include "dataset/packet_escape.h"
#include "dataset/value_text.h"
#include "text/ascii.h"
#include "text/cp950.h"

namespace qor::ds::packet {

namespace {

using text::isDigit;

// Exactly `count` decimal digits at `text[at]`.
bool readDigits(std::string_view text, std::size_t at, std::size_t count, int& out) {
    if (at + count > text.size()) return false;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!isDigit(text[i])) return false;
        value = value * 10 + (text[i] - '0');
    }
    out = value;
    return true;
}

bool readInteger(std::string_view text, const FieldType& type, std::int64_t& out) {
    const auto value = text::parseWholeNumber(text);
    if (!value || *value < type.min || *value > type.max) return false;
    out = *value;
    return true;
}

// A decimal of at most 15 digits with no exponent ("-12.75"): its digits and its power of ten
// are both exact doubles, so one division gives the correctly rounded value, the same one
// from_chars gives. False, with `out` untouched, for every other text.
bool readPlainDecimal(std::string_view text, double& out) {
    static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) ++i;
    std::uint64_t digits = 0;
    int digitCount = 0;
    int fractionDigits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            if (++digitCount > 15) return false;
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            if (point) ++fractionDigits;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (digitCount == 0) return false;
    const double magnitude = static_cast<double>(digits) / powersOfTen[fractionDigits];
    out = negative ? -magnitude : magnitude;
    return true;
}

bool readDouble(std::string_view text, double& out) {
    if (readPlainDecimal(text, out)) return true;
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    if (first == last || *first == '+') return false;
    auto [end, ec] = std::from_chars(first, last, out, std::chars_format::general);
    return ec == std::errc() && end == last;
}

bool readBoolean(std::string_view text, bool& out) {
    if (text::equalsNoCase(text, "TRUE")) out = true;
    else if (text::equalsNoCase(text, "FALSE")) out = false;
    else return false;
    return true;
}

// yyyymmdd
bool readPacketDate(std::string_view text, Date& out) {
    if (text.size() != 8) return false;
    Date d;
    if (!readDigits(text, 0, 4, d.year) || !readDigits(text, 4, 2, d.month) ||
        !readDigits(text, 6, 2, d.day))
        return false;
    if (!isValidDate(d)) return false;
    out = d;
    return true;
}

// hh:mm:ss, then optionally three digits of milliseconds
bool readPacketTime(std::string_view text, Time& out) {
    if (text.size() != 8 && text.size() != 11) return false;
    Time t;
    if (!readDigits(text, 0, 2, t.hour) || text[2] != ':' || !readDigits(text, 3, 2, t.minute) ||
        text[5] != ':' || !readDigits(text, 6, 2, t.second))
        return false;
    if (text.size() == 11 && !readDigits(text, 8, 3, t.msec)) return false;
    if (!isValidTime(t)) return false;
    out = t;
    return true;
}

bool readPacketDateTime(std::string_view text, DateTime& out) {
    if (text.size() < 9 || text[8] != 'T') return false;
    DateTime dt;
    if (!readPacketDate(text.substr(0, 8), dt.date) || !readPacketTime(text.substr(9), dt.time))
        return false;
    out = dt;
    return true;
}

bool readHex(std::string_view text, std::string& out) {
    if (text.size() % 2 != 0) return false;
    out.clear();
    out.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = text::hexDigitValue(text[i]);
        const int lo = text::hexDigitValue(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
    }
    return true;
}

void appendPadded(std::string& out, int value, int width) {
    char buf[16];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    for (auto n = end - buf; n < width; ++n) out += '0';
    out.append(buf, end);
}

void appendDate(std::string& out, const Date& d) {
    appendPadded(out, d.year, 4);
    appendPadded(out, d.month, 2);
    appendPadded(out, d.day, 2);
}

void appendTime(std::string& out, const Time& t) {
    appendPadded(out, t.hour, 2);
    out += ':';
    appendPadded(out, t.minute, 2);
    out += ':';
    appendPadded(out, t.second, 2);
    if (t.msec != 0) appendPadded(out, t.msec, 3);
}

void appendHex(std::string& out, std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
}

void appendDouble(std::string& out, double v, bool fixedNotation) {
    // Shortest texts that read back to the same double; in fixed notation the widest is the
    // smallest subnormal, "0." and 323 zeros before its digit.
    char buf[400];
    const auto result = fixedNotation
                            ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                            : std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, result.ptr);
}

// The text goes straight into the value's string: emplacing a string from the bytes would
// build it aside first and move it in.
void assignText(Value& out, std::string_view text) {
    if (!std::holds_alternative<std::string>(out)) out.emplace<std::string>();
    std::get<std::string>(out).assign(text);
}

// `value` into `out` when it was read; false, with `out` untouched, when not.
template <typename T>
bool keepIf(bool read, T&& value, Value& out) {
    if (read) out = std::forward<T>(value);
    return read;
}

// A non-empty text as a number, a truth value, a date or a time.
bool readScalar(const FieldType& type, std::string_view text, Value& out) {
    switch (type.kind) {
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::Word:
    case FieldKind::LargeInt: {
        std::int64_t v = 0;
        return keepIf(readInteger(text, type, v), v, out);
    }
    case FieldKind::Float:
    case FieldKind::Currency:
    case FieldKind::BCD: {
        double v = 0;
        return keepIf(readDouble(text, v), v, out);
    }
    case FieldKind::Boolean: {
        bool v = false;
        return keepIf(readBoolean(text, v), v, out);
    }
    case FieldKind::Date: {
        Date v;
        return keepIf(readPacketDate(text, v), v, out);
    }
    case FieldKind::Time: {
        Time v;
        return keepIf(readPacketTime(text, v), v, out);
    }
    case FieldKind::DateTime: {
        DateTime v;
        return keepIf(readPacketDateTime(text, v), v, out);
    }
    default:
        return false;
    }
}

}  // namespace

bool readValue(const FieldType& type, int size, std::string_view text, Value& out) {
    switch (type.kind) {
    case FieldKind::String:
        if (text.size() <= static_cast<std::size_t>(size)) assignText(out, text);
        else out = text::cutToBytes(text, static_cast<std::size_t>(size));
        return true;
    case FieldKind::Memo:
        assignText(out, text);
        return true;
    case FieldKind::Binary: {
        std::string bytes;
        return keepIf(readHex(text, bytes), std::move(bytes), out);
    }
    default:
        if (text.empty()) {
            out = std::monostate{};
            return true;
        }
        return readScalar(type, text, out);
    }
}

void appendValue(std::string& out, FieldKind kind, const Value& value) {
    if (const auto* s = std::get_if<std::string>(&value)) {
        if (kind == FieldKind::Binary) appendHex(out, *s);
        else appendEscaped(out, *s);
    } else if (const auto* i = std::get_if<std::int64_t>(&value)) {
        char buf[24];
        out.append(buf, std::to_chars(buf, buf + sizeof buf, *i).ptr);
    } else if (const auto* d = std::get_if<double>(&value)) {
        appendDouble(out, *d, kind == FieldKind::BCD);
    } else if (const auto* b = std::get_if<bool>(&value)) {
        out += *b ? "TRUE" : "FALSE";
    } else if (const auto* date = std::get_if<Date>(&value)) {
        appendDate(out, *date);
    } else if (const auto* time = std::get_if<Time>(&value)) {
        appendTime(out, *time);
    } else if (const auto* dt = std::get_if<DateTime>(&value)) {
        appendDate(out, dt->date);
        out += 'T';
        appendTime(out, dt->time);
    }
}

}  // namespace qor::ds::packet
