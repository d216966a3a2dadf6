#include "storedb/provider.h"

#include "text/errors.h"

namespace qor::storedb {

Provider::Provider(std::string name, SqlQuery& query, bool allowCommandText)
    : name_(std::move(name)), query_(query), allowCommandText_(allowCommandText) {}

ds::Table Provider::openResult(const std::string& commandText, int maxRows) {
    if (!commandText.empty()) {
        if (!allowCommandText_) throw Error("CommandText changes are not allowed");
        // The text stays the query's statement for later opens without one.
        query_.setSql(commandText);
    }
    query_.open();
    ds::Table table;
    table.columns = query_.columns();
    table.lcid = query_.connection().localeCode();
    query_.fetchRows(maxRows, table.rows);
    // A result read to its end frees its cursor at once; a partial one waits for fetchMore.
    if (query_.eof()) query_.close();
    return table;
}

bool Provider::fetchMore(int maxRows, std::vector<ds::Row>& rows) {
    if (!query_.active()) return false;
    bool any = query_.fetchRows(maxRows, rows);
    if (query_.eof()) query_.close();
    return any;
}

}  // namespace qor::storedb
