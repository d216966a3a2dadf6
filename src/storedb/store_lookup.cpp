#include "storedb/store_lookup.h"

#include <string>

#include "text/errors.h"
#include "text/profile.h"

namespace qor::storedb {

namespace {

std::size_t lengthWithoutTrailingBlanks(std::string_view value) {
    const auto last = value.find_last_not_of(' ');
    return last == std::string_view::npos ? 0 : last + 1;
}

// Binds each marker to valueOf(marker) as text, or to NULL when it cannot equal its column.
template <typename ValueOf>
void bindAndOpen(SqlQuery& query, std::initializer_list<std::string_view> lines,
                 ValueOf valueOf) {
    query.close();
    query.clearSql();
    for (std::string_view line : lines) query.addLine(line);

    ParamSet& params = query.params();
    const std::vector<ds::ColumnDef> markers = query.describeParams();
    for (int i = 0; i < params.count(); ++i) {
        const auto index = static_cast<std::size_t>(i);
        const std::string_view value = valueOf(params.at(i));
        const std::size_t length = lengthWithoutTrailingBlanks(value);
        const bool fits = index >= markers.size() || markers[index].kind != ds::FieldKind::String ||
                          markers[index].size <= 0 ||
                          length <= static_cast<std::size_t>(markers[index].size);
        if (fits)
            params.at(i).setAsString(std::string(value));
        else
            params.at(i).setNull(ds::FieldKind::String);
    }
    query.open();
}

}  // namespace

void openLookUp(SqlQuery& query, std::initializer_list<std::string_view> lines,
                std::string_view value) {
    bindAndOpen(query, lines, [value](const Param&) { return value; });
}

void openLookUp(SqlQuery& query, std::initializer_list<std::string_view> lines,
                std::initializer_list<LookUpValue> values) {
    bindAndOpen(query, lines, [values](const Param& marker) {
        for (const LookUpValue& v : values)
            if (text::equalsNoCase(v.marker, marker.name())) return v.value;
        throw Error(format("Parameter '%s' not found", marker.name()));
    });
}

}  // namespace qor::storedb
