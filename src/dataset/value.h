#pragma once
// Typed values, column layouts and row tables shared by the dataset engine, data packets,
// the store-database layer and the gateway.
#include <compare>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace qor::ds {

enum class FieldKind {
    String,    // text of a byte size
    SmallInt,  // 16-bit signed
    Integer,   // 32-bit signed
    Word,      // 16-bit unsigned
    LargeInt,  // 64-bit signed
    Float,     // double
    Currency,  // double, four decimals
    BCD,       // fixed-point decimal, held as double
    Boolean,
    Date,
    Time,
    DateTime,
    Memo,      // text blob
    Binary,    // binary blob (bytes in a std::string)
};

// The kind's name as messages print it ("String", "Integer", "Float", ...).
const char* kindName(FieldKind kind);

// Whole numbers and the decimal kinds: shown right-aligned, typed in as numbers.
constexpr bool isNumeric(FieldKind kind) {
    switch (kind) {
        case FieldKind::SmallInt:
        case FieldKind::Integer:
        case FieldKind::Word:
        case FieldKind::LargeInt:
        case FieldKind::Float:
        case FieldKind::Currency:
        case FieldKind::BCD:
            return true;
        default:
            return false;
    }
}

struct Date {
    int year = 0, month = 0, day = 0;
    auto operator<=>(const Date&) const = default;
};
// Day 0 of serial date numbers (days since then, the time of day as the fraction); a time
// given without a date stands on this day.
inline constexpr Date kSerialDateEpoch{1899, 12, 30};

struct Time {
    int hour = 0, minute = 0, second = 0, msec = 0;
    auto operator<=>(const Time&) const = default;
};
struct DateTime {
    Date date;
    Time time;
    auto operator<=>(const DateTime&) const = default;
};

// A null (monostate) or a value. Text, memo and binary hold bytes in std::string; all integer
// kinds hold int64; float, currency and BCD hold double.
using Value = std::variant<std::monostate, std::string, std::int64_t, double, bool, Date, Time, DateTime>;

inline bool isNull(const Value& v) { return std::holds_alternative<std::monostate>(v); }

// One column of a result or a packet.
struct ColumnDef {
    std::string name;
    FieldKind kind = FieldKind::String;
    int size = 0;        // bytes, for String; 0 otherwise
    int decimals = 0;    // BCD scale
    bool required = false;
    bool readOnly = false;
};

using Row = std::vector<Value>;

// Columns and rows: what a data packet carries, what a statement returns, what a dataset
// is opened with.
struct Table {
    std::vector<ColumnDef> columns;
    std::vector<Row> rows;
    int lcid = 0;
};

}  // namespace qor::ds
