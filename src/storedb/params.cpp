#include "storedb/params.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "dataset/value_text.h"
#include "text/ascii.h"
#include "text/errors.h"

namespace qor::storedb {

using ds::FieldKind;
using text::equalsNoCase;

namespace {
// The field's text as a whole number of the parameter's type, read as the dataset engine reads
// one; 0 when it is no number or does not fit.
template <typename Int>
Int wholeNumberOrZero(std::string_view text) {
    const auto v = ds::parseInteger(text);
    return v && std::in_range<Int>(*v) ? static_cast<Int>(*v) : Int{0};
}
}  // namespace

// ---- ParamList

bool ParamList::has(std::string_view key) const {
    for (auto& [k, v] : lines_)
        if (equalsNoCase(k, key)) return true;
    return false;
}

std::string ParamList::value(std::string_view key) const {
    for (auto& [k, v] : lines_)
        if (equalsNoCase(k, key)) return v;
    return {};
}

void ParamList::set(std::string_view key, std::string value) {
    for (auto& [k, v] : lines_)
        if (equalsNoCase(k, key)) {
            v = std::move(value);
            return;
        }
    lines_.emplace_back(std::string(key), std::move(value));
}

// ---- Param

void Param::setValue(const ds::Value& value) {
    struct Kind {
        std::optional<FieldKind> operator()(std::monostate) const { return std::nullopt; }
        std::optional<FieldKind> operator()(const std::string&) const { return FieldKind::String; }
        std::optional<FieldKind> operator()(std::int64_t v) const {
            bool fits = v >= std::numeric_limits<std::int32_t>::min() &&
                        v <= std::numeric_limits<std::int32_t>::max();
            return fits ? FieldKind::Integer : FieldKind::LargeInt;
        }
        std::optional<FieldKind> operator()(double) const { return FieldKind::Float; }
        std::optional<FieldKind> operator()(bool) const { return FieldKind::Boolean; }
        std::optional<FieldKind> operator()(ds::Date) const { return FieldKind::Date; }
        std::optional<FieldKind> operator()(ds::Time) const { return FieldKind::Time; }
        std::optional<FieldKind> operator()(ds::DateTime) const { return FieldKind::DateTime; }
    };
    kind_ = std::visit(Kind{}, value);
    value_ = kind_ ? value : ds::Value{};
}

void Param::setAsString(std::string text) {
    kind_ = FieldKind::String;
    value_ = std::move(text);
}
void Param::setAsInteger(std::int32_t v) {
    kind_ = FieldKind::Integer;
    value_ = std::int64_t{v};
}
void Param::setAsSmallInt(std::int16_t v) {
    kind_ = FieldKind::SmallInt;
    value_ = std::int64_t{v};
}
void Param::setAsWord(std::uint16_t v) {
    kind_ = FieldKind::Word;
    value_ = std::int64_t{v};
}
void Param::setAsFloat(double v) {
    kind_ = FieldKind::Float;
    value_ = v;
}
void Param::setAsCurrency(double v) {
    kind_ = FieldKind::Currency;
    value_ = std::round(v * 10000.0) / 10000.0;
}
void Param::setAsBCD(double v) {
    kind_ = FieldKind::BCD;
    value_ = v;
}
void Param::setAsBoolean(bool v) {
    kind_ = FieldKind::Boolean;
    value_ = v;
}
void Param::setAsDate(ds::Date v) {
    kind_ = FieldKind::Date;
    value_ = v;
}
void Param::setAsTime(ds::Time v) {
    kind_ = FieldKind::Time;
    value_ = v;
}
void Param::setAsDateTime(ds::DateTime v) {
    kind_ = FieldKind::DateTime;
    value_ = v;
}
void Param::setNull(FieldKind kind) {
    kind_ = kind;
    value_ = std::monostate{};
}
void Param::clear() {
    kind_.reset();
    value_ = std::monostate{};
}

// ---- from a field's text

void setParamFromFieldText(Param& param, FieldKind kind, std::string_view text) {
    switch (kind) {
    case FieldKind::String:
        param.setAsString(std::string(text));
        return;
    case FieldKind::SmallInt:
        param.setAsSmallInt(wholeNumberOrZero<std::int16_t>(text));
        return;
    case FieldKind::Integer:
        param.setAsInteger(wholeNumberOrZero<std::int32_t>(text));
        return;
    case FieldKind::Word:
        param.setAsWord(wholeNumberOrZero<std::uint16_t>(text));
        return;
    case FieldKind::Boolean:
        param.setAsBoolean(text::equalsNoCase(text, "TRUE"));
        return;
    case FieldKind::Float:
        param.setAsFloat(ds::parseFloat(text).value_or(0.0));
        return;
    case FieldKind::Currency:
        param.setAsCurrency(ds::parseFloat(text).value_or(0.0));
        return;
    case FieldKind::BCD: {
        auto v = ds::parseFloat(text);
        if (!v) throw Error(format("'%s' is not a valid floating point value", text));
        param.setAsBCD(std::round(*v * 10000.0) / 10000.0);
        return;
    }
    case FieldKind::Date: {
        auto v = ds::parseDate(text);
        if (!v) throw Error(format("'%s' is not a valid date", text));
        param.setAsDate(*v);
        return;
    }
    case FieldKind::Time: {
        auto v = ds::parseTime(text);
        if (!v) throw Error(format("'%s' is not a valid time", text));
        param.setAsTime(*v);
        return;
    }
    case FieldKind::DateTime: {
        auto v = ds::parseDateTime(text);
        if (!v) throw Error(format("'%s' is not a valid date and time", text));
        param.setAsDateTime(*v);
        return;
    }
    default:
        return;  // other kinds are not set from text
    }
}

// ---- from a field

namespace {

// parseFloat(formatFloat(v)) where that is v itself, found without the 15-digit text: the
// shortest text of v (at most 15 significant digits) lies within v's rounding interval, and
// the 15-digit text is no farther from v. A power of two is left to the text: the interval
// below it is half the one above.
std::optional<double> readsBackAsItself(double v) {
    if (v == 0) return 0.0;  // "0", minus zero included
    if (!std::isfinite(v)) return std::nullopt;
    int exponent = 0;
    if (std::frexp(std::fabs(v), &exponent) == 0.5) return std::nullopt;
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
    if (ec != std::errc()) return std::nullopt;
    int digits = 0;  // leading zeros aside; trailing ones counted, which only errs on the safe side
    for (const char* c = text; c != end && *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9' && (digits > 0 || *c != '0')) ++digits;
    if (digits > 15) return std::nullopt;
    return v;
}

}  // namespace

void setParamFromField(Param& param, const ds::Field& field) {
    const ds::Value value = field.value();
    switch (field.kind()) {
    case FieldKind::String:
        if (const auto* s = std::get_if<std::string>(&value)) {
            param.setAsString(*s);
            return;
        }
        break;
    case FieldKind::Integer:
        if (const auto* i = std::get_if<std::int64_t>(&value)) {
            const bool fits = *i >= std::numeric_limits<std::int32_t>::min() &&
                              *i <= std::numeric_limits<std::int32_t>::max();
            param.setAsInteger(fits ? static_cast<std::int32_t>(*i) : 0);
            return;
        }
        break;
    case FieldKind::Float:
        if (const auto* d = std::get_if<double>(&value)) {
            if (auto same = readsBackAsItself(*d)) {
                param.setAsFloat(*same);
                return;
            }
        }
        break;
    default:
        break;
    }
    setParamFromFieldText(param, field.kind(), ds::valueToText(value));
}

// ---- ParamSet

namespace {

bool isNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '_' || c == '$';
}

}  // namespace

void ParamSet::derive(std::string_view sql) {
    params_.clear();
    positional_.clear();
    positional_.reserve(sql.size());
    std::size_t i = 0;
    // Copies sql[i..end) unchanged and moves past it.
    auto copyTo = [&](std::size_t end) {
        positional_.append(sql.substr(i, end - i));
        i = end;
    };
    while (i < sql.size()) {
        char c = sql[i];
        if (c == '\'' || c == '"') {
            // Quoted text, a doubled quote staying inside; markers in it are text.
            std::size_t j = i + 1;
            while (j < sql.size()) {
                if (sql[j] == c) {
                    if (j + 1 < sql.size() && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            copyTo(std::min(j + 1, sql.size()));
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            auto end = sql.find('\n', i);
            copyTo(end == std::string_view::npos ? sql.size() : end);
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            auto end = sql.find("*/", i + 2);
            copyTo(end == std::string_view::npos ? sql.size() : end + 2);
        } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
            copyTo(i + 2);  // "::" is no marker
        } else if (c == ':' && i + 1 < sql.size() && isNameChar(sql[i + 1])) {
            std::size_t j = i + 1;
            while (j < sql.size() && isNameChar(sql[j])) ++j;
            params_.emplace_back(std::string(sql.substr(i + 1, j - i - 1)));
            positional_ += '?';
            i = j;
        } else {
            positional_ += c;
            ++i;
        }
    }
}

Param* ParamSet::find(std::string_view name) {
    for (auto& p : params_)
        if (equalsNoCase(p.name(), name)) return &p;
    return nullptr;
}

Param& ParamSet::byName(std::string_view name) {
    if (auto* p = find(name)) return *p;
    throw Error(format("Parameter '%s' not found", name));
}

std::vector<ds::Value> ParamSet::values() const {
    std::vector<ds::Value> out;
    out.reserve(params_.size());
    for (auto& p : params_) {
        if (!p.bound()) throw Error(format("No value for parameter '%s'", p.name()));
        out.push_back(p.value());
    }
    return out;
}

}  // namespace qor::storedb
