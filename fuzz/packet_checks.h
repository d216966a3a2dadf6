#pragma once
// What every table read from a packet must look like, and table equality for the packet
// targets: doubles compare by their bits, so -0 and 0 differ and a NaN equals itself.
#include <cstring>
#include <limits>
#include <set>
#include <string>

#include "dataset/value.h"
#include "dataset/value_text.h"
#include "property_check.h"
#include "text/cp950.h"

namespace qor::fuzz {

inline bool sameValue(const ds::Value& a, const ds::Value& b) {
    if (a.index() != b.index()) return false;
    if (const auto* x = std::get_if<double>(&a)) {
        const double y = std::get<double>(b);
        return std::memcmp(x, &y, sizeof y) == 0;
    }
    return a == b;
}

inline bool sameColumns(const ds::ColumnDef& x, const ds::ColumnDef& y) {
    return x.name == y.name && x.kind == y.kind && x.size == y.size && x.decimals == y.decimals &&
           x.required == y.required && x.readOnly == y.readOnly;
}

inline bool sameTable(const ds::Table& a, const ds::Table& b) {
    if (a.lcid != b.lcid || a.columns.size() != b.columns.size() || a.rows.size() != b.rows.size())
        return false;
    for (std::size_t c = 0; c < a.columns.size(); ++c)
        if (!sameColumns(a.columns[c], b.columns[c])) return false;
    for (std::size_t r = 0; r < a.rows.size(); ++r) {
        if (a.rows[r].size() != b.rows[r].size()) return false;
        for (std::size_t c = 0; c < a.rows[r].size(); ++c)
            if (!sameValue(a.rows[r][c], b.rows[r][c])) return false;
    }
    return true;
}

// A value fits its column's kind: the right alternative, in range, a real date or time.
inline bool fitsColumn(const ds::ColumnDef& column, const ds::Value& v) {
    using ds::FieldKind;
    if (ds::isNull(v)) return true;
    switch (column.kind) {
    case FieldKind::String: {
        const auto* s = std::get_if<std::string>(&v);
        return s && s->size() <= static_cast<std::size_t>(column.size);
    }
    case FieldKind::Memo:
    case FieldKind::Binary: return std::holds_alternative<std::string>(v);
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::Word:
    case FieldKind::LargeInt: {
        const auto* i = std::get_if<std::int64_t>(&v);
        if (!i) return false;
        if (column.kind == FieldKind::SmallInt) return *i >= -32768 && *i <= 32767;
        if (column.kind == FieldKind::Word) return *i >= 0 && *i <= 65535;
        if (column.kind == FieldKind::Integer) return *i >= -2147483648LL && *i <= 4294967295LL;
        return true;
    }
    case FieldKind::Float:
    case FieldKind::Currency:
    case FieldKind::BCD: return std::holds_alternative<double>(v);
    case FieldKind::Boolean: return std::holds_alternative<bool>(v);
    case FieldKind::Date: {
        const auto* d = std::get_if<ds::Date>(&v);
        return d && ds::isValidDate(*d);
    }
    case FieldKind::Time: {
        const auto* t = std::get_if<ds::Time>(&v);
        return t && ds::isValidTime(*t);
    }
    case FieldKind::DateTime: {
        const auto* dt = std::get_if<ds::DateTime>(&v);
        return dt && ds::isValidDate(dt->date) && ds::isValidTime(dt->time);
    }
    }
    return false;
}

// Field names are present and unique (ASCII case aside), strings have a size, and every row
// holds one fitting value per field.
inline void expectWellFormed(const ds::Table& table) {
    std::set<std::string> names;
    for (const ds::ColumnDef& column : table.columns) {
        QOR_FUZZ_EXPECT(!column.name.empty());
        QOR_FUZZ_EXPECT(names.insert(text::upperAscii(column.name)).second);
        QOR_FUZZ_EXPECT(column.kind != ds::FieldKind::String || column.size > 0);
    }
    for (const ds::Row& row : table.rows) {
        QOR_FUZZ_EXPECT(row.size() == table.columns.size());
        for (std::size_t c = 0; c < row.size(); ++c)
            QOR_FUZZ_EXPECT(fitsColumn(table.columns[c], row[c]));
    }
}

}  // namespace qor::fuzz
