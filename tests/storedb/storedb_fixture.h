#pragma once
// A store database made for one test and the definition files that point the connections at
// it. The "executable's folder" of the connections is the test's own folder, so the files
// written there are the ones a connection finds when no per-user value names others.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "storedb/connection.h"
#include "storedb/definition_paths.h"
#include "storedb/query.h"
#include "temp_database.h"

namespace qor::storedb::testing {

inline std::string pluginPath() { return std::string(QOR_BIN_DIR) + "/" + QOR_DRIVER_LIBRARY_NAME; }

// The definition files for `database`, the driver named by its full path (the test's folder
// holds no plugin).
inline test::DbxFiles dbxFilesFor(const std::string& database) {
    test::DbxFiles files{database, {}, {}};
    files.driverOverrides["LibraryName"] = pluginPath();
    return files;
}

class StoreDbTest : public ::testing::Test {
protected:
    // `extraSql`: statements run on the database before the test (isql text, each ending
    // in ";").
    explicit StoreDbTest(const std::string& extraSql = {})
        : db_(extraSql), paths_(db_.folder().string()) {}

    void SetUp() override { test::writeDbxFiles(db_.folder(), dbxFilesFor(db_.path())); }

    std::filesystem::path folder() const { return db_.folder(); }

    // A connection with the built-in values, as the window makes them.
    std::unique_ptr<SqlConnection> makeConnection(const std::string& name = "SQLConnection1") {
        return std::make_unique<SqlConnection>(name, paths_,
                                               "127.0.0.1:D:\\Tendro\\Data\\Data15\\POSDATA.GDB");
    }

    test::TempDatabase db_;
    FixedDefinitionPaths paths_;
};

// One read look-up, the way the workflows write them.
inline std::string lookUp(SqlQuery& query, const std::string& sql, const std::string& column) {
    query.close();
    query.clearSql();
    query.addLine(sql);
    query.open();
    return query.fieldText(column);
}

}  // namespace qor::storedb::testing
