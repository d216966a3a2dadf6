#include "storedb/store_lookup.h"

#include <string>

namespace qor::storedb {

namespace {

std::size_t lengthWithoutTrailingBlanks(std::string_view value) {
    const auto last = value.find_last_not_of(' ');
    return last == std::string_view::npos ? 0 : last + 1;
}

}  // namespace

void openLookUp(SqlQuery& query, std::initializer_list<std::string_view> lines,
                std::string_view value) {
    query.close();
    query.clearSql();
    for (std::string_view line : lines) query.addLine(line);

    ParamSet& params = query.params();
    const std::vector<ds::ColumnDef> markers = query.describeParams();
    const std::size_t length = lengthWithoutTrailingBlanks(value);
    for (int i = 0; i < params.count(); ++i) {
        const auto index = static_cast<std::size_t>(i);
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

}  // namespace qor::storedb
