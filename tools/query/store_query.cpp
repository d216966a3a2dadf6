// qor-query store: one statement on the store database, connected exactly as the program's
// first connection is (dbxconnections.ini section "Tendro", dbxdrivers.ini).
#include <iostream>
#include <string>
#include <string_view>

#include "dataset/dataset.h"
#include "print_rows.h"
#include "storedb/connection.h"
#include "storedb/definition_paths.h"
#include "storedb/query.h"
#include "text/ascii.h"
#include "text/cp950.h"

namespace {

bool isReadStatement(std::string_view sql) {
    using namespace qor::text;
    return startsWithWord(trimmedView(sql), "SELECT") || startsWithWord(trimmedView(sql), "WITH");
}

}  // namespace

int runStoreQuery(const char* statement) {
    using namespace qor;
    try {
        storedb::ProcessDefinitionPaths paths;
        storedb::SqlConnection connection("SQLConnection1", paths,
                                          "127.0.0.1:D:\\Tendro\\Data\\Data15\\POSDATA.GDB");
        storedb::SqlQuery query("SQLQuery1", connection);
        // The terminal speaks UTF-8; the database holds code page 950.
        const std::string sql = text::utf8ToCp950(statement);
        query.setSql(sql);
        if (isReadStatement(sql)) {
            ds::Dataset result("SQLQuery1");
            result.openWith(query.openTable());
            query::printRows(result, std::cout);
        } else {
            std::cout << query.execSql() << '\n';
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << text::cp950ToUtf8(e.what()) << '\n';
        return 1;
    }
}
