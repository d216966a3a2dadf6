#include "dataset/packet_types.h"

#include <limits>

#include "text/ascii.h"

namespace qor::ds::packet {

std::optional<FieldType> fieldTypeNamed(std::string_view fieldType, std::string_view subType) {
    struct Entry {
        std::string_view name;
        FieldType type;
    };
    constexpr auto int64Min = std::numeric_limits<std::int64_t>::min();
    constexpr auto int64Max = std::numeric_limits<std::int64_t>::max();
    static constexpr Entry entries[] = {
        {"string", {FieldKind::String}},
        {"i1", {FieldKind::SmallInt, -128, 127}},
        {"ui1", {FieldKind::SmallInt, 0, 255}},
        {"i2", {FieldKind::SmallInt, -32768, 32767}},
        {"ui2", {FieldKind::Word, 0, 65535}},
        {"i4", {FieldKind::Integer, -2147483648LL, 2147483647LL}},
        {"ui4", {FieldKind::Integer, 0, 4294967295LL}},
        {"i8", {FieldKind::LargeInt, int64Min, int64Max}},
        {"r8", {FieldKind::Float}},
        {"fixed", {FieldKind::BCD}},
        {"boolean", {FieldKind::Boolean}},
        {"date", {FieldKind::Date}},
        {"time", {FieldKind::Time}},
        {"dateTime", {FieldKind::DateTime}},
        {"SQLdateTime", {FieldKind::DateTime}},
    };
    for (const Entry& e : entries)
        if (text::equalsNoCase(fieldType, e.name)) return e.type;
    if (text::equalsNoCase(fieldType, "bin.hex"))
        return FieldType{text::equalsNoCase(subType, "Text") ? FieldKind::Memo : FieldKind::Binary};
    return std::nullopt;
}

std::string_view fieldTypeOf(FieldKind kind) {
    switch (kind) {
    case FieldKind::String: return "string";
    case FieldKind::SmallInt: return "i2";
    case FieldKind::Integer: return "i4";
    case FieldKind::Word: return "ui2";
    case FieldKind::LargeInt: return "i8";
    case FieldKind::Float:
    case FieldKind::Currency: return "r8";
    case FieldKind::BCD: return "fixed";
    case FieldKind::Boolean: return "boolean";
    case FieldKind::Date: return "date";
    case FieldKind::Time: return "time";
    case FieldKind::DateTime: return "dateTime";
    case FieldKind::Memo:
    case FieldKind::Binary: return "bin.hex";
    }
    return "string";
}

}  // namespace qor::ds::packet
