#pragma once
// The driver plugin loaded the way the program loads it: libdbxfb.so (dbxfb.dll) from the
// folder of the executables, then its entry function by name.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "dataset/value.h"
#include "error_text.h"
#include "storedb/dbx_driver.h"
#include "temp_database.h"
#include "text/builtin_account.h"
#include "text/shared_library.h"

namespace qor::fbtest {

inline dbx::GetDriverFunc driverEntry() {
    static dbx::GetDriverFunc entry = [] {
        std::string path = std::string(QOR_BIN_DIR) + "/" + QOR_DRIVER_LIBRARY_NAME;
        void* library = text::openSharedLibrary(path);
        if (!library) throw std::runtime_error("cannot load " + path);
        auto entry = reinterpret_cast<dbx::GetDriverFunc>(
            text::findLibrarySymbol(library, "getSQLDriverINTERBASE"));
        if (!entry) throw std::runtime_error("getSQLDriverINTERBASE missing from " + path);
        return entry;
    }();
    return entry;
}

inline std::unique_ptr<dbx::Driver> makeDriver(const std::string& vendorLib = QOR_CLIENT_LIBRARY_NAME) {
    std::string error;
    std::unique_ptr<dbx::Driver> driver(driverEntry()(vendorLib.c_str(), "", &error));
    if (!driver) throw std::runtime_error(error);
    return driver;
}

using Options = std::map<std::string, std::string>;

// A connection to `database` (a path opened embedded, or "server:path") with the options given.
inline std::unique_ptr<dbx::Connection> connectTo(
    const std::string& database, const Options& options = {},
    const std::string& password = std::string(text::kBuiltinPassword)) {
    static std::unique_ptr<dbx::Driver> driver = makeDriver();
    auto connection = driver->createConnection();
    for (const auto& [key, value] : options) connection->setOption(key, value);
    connection->connect(database, std::string(text::kBuiltinUserName), password);
    return connection;
}

inline std::vector<ds::Row> readAll(dbx::Connection& connection, const std::string& sql,
                                    const std::vector<ds::Value>& params = {}) {
    auto cursor = connection.query(sql, params);
    std::vector<ds::Row> rows;
    ds::Row row;
    while (cursor->fetch(row)) rows.push_back(row);
    return rows;
}

// The first column of the first row, which the test expects to be there.
inline ds::Value firstValue(dbx::Connection& connection, const std::string& sql,
                            const std::vector<ds::Value>& params = {}) {
    auto rows = readAll(connection, sql, params);
    if (rows.empty() || rows[0].empty()) throw std::runtime_error("no row from: " + sql);
    return rows[0][0];
}

inline std::int64_t countOf(dbx::Connection& connection, const std::string& table) {
    return std::get<std::int64_t>(firstValue(connection, "SELECT COUNT(*) FROM " + table));
}

// What a failing call of the driver says: its failures are std::runtime_error.
template <typename F>
std::string failureOf(F&& call) {
    return test::errorOf<std::exception>(std::forward<F>(call));
}

// The database failure a call raises, its codes with it; fails the test when there is none.
template <typename F>
dbx::DatabaseError databaseErrorOf(F&& call) {
    try {
        call();
    } catch (const dbx::DatabaseError& e) {
        return e;
    }
    ADD_FAILURE() << "the database reported no failure";
    return dbx::DatabaseError("", {});
}

}  // namespace qor::fbtest
