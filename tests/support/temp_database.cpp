#include "temp_database.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "shell_command.h"
#include "storedb/connection.h"

namespace fs = std::filesystem;

namespace qor::test {
namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Runs a shell command; returns its exit status and everything it printed.
std::pair<int, std::string> runCommand(const std::string& command) {
    return runShellCommand(command + " 2>&1");
}

// Records the test as skipped: a test database cannot be made in this build.
void skipTest(const std::string& reason) { GTEST_SKIP() << reason; }

fs::path sourcePath(const std::string& file) {
    fs::path path(file);
    return path.is_absolute() ? path : fs::path(QOR_SOURCE_DIR) / path;
}

// Creating a database through isql takes a good part of a second, and every test wants a fresh
// one: the first test to ask makes a template file per schema (named by a hash of the schema
// text) in the build folder, and every database is a copy of it. Templates are written under
// a private name and renamed into place, so tests running side by side never see half a file.
fs::path templateFor(const std::vector<std::string>& schemaFiles) {
    std::string key;
    for (const auto& file : schemaFiles) key += file + '\n' + readFile(sourcePath(file)) + '\n';
    key += readFile(fs::path(QOR_SOURCE_DIR) / "scripts/create-database");
    char name[64];
    std::snprintf(name, sizeof name, "schema-%016zx.fdb", std::hash<std::string>{}(key));

    fs::path folder = fs::path(QOR_BIN_DIR).parent_path() / "test-db-templates";
    fs::create_directories(folder);
    fs::path target = folder / name;
    if (fs::exists(target)) return target;

    fs::path scratch = folder / (std::string(name) + "." + std::to_string(currentProcessId()) + ".tmp");
    std::string command = shellQuote((fs::path(QOR_SOURCE_DIR) / "scripts/create-database").string()) +
                          " --force " + shellQuote(scratch.string());
    for (const auto& file : schemaFiles) command += " " + shellQuote(sourcePath(file).string());
    auto [code, output] = runCommand(command);
    if (code != 0) {
        std::error_code ignored;
        fs::remove(scratch, ignored);
        throw std::runtime_error("creating the test database failed:\n" + output);
    }
    fs::rename(scratch, target);
    return target;
}

}  // namespace

TempDatabase::TempDatabase(const std::string& extraSql)
    : TempDatabase(std::vector<std::string>{"db/store-schema.sql"}, extraSql) {}

TempDatabase::TempDatabase(const std::vector<std::string>& schemaFiles, const std::string& extraSql,
                           const std::string& fileName)
    : path_(folder_.path() / fileName) {
    if (auto reason = testDatabaseUnavailable()) {
        skipTest(*reason);
        return;
    }
    // A failure from here on removes the folder with the object.
    fs::copy_file(templateFor(schemaFiles), path_);
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write |
                               fs::perms::group_read | fs::perms::group_write);
    if (!extraSql.empty()) runSql(extraSql);
}

void TempDatabase::runSql(const std::string& sql) const {
    static std::atomic<int> counter{0};
    fs::path script = folder_.path() / ("script-" + std::to_string(++counter) + ".sql");
    writeFile(script, sql + "\nCOMMIT;\n");
    // Embedded: no server, any user. A server's credentials in the environment are dropped.
    std::string command = "env -u ISC_USER -u ISC_PASSWORD isql-fb -q -b -user SYSDBA -i " +
                          shellQuote(script.string()) + " " + shellQuote(path_.string());
    auto [code, output] = runCommand(command);
    std::error_code ignored;
    fs::remove(script, ignored);
    if (code != 0 || output.find("Statement failed") != std::string::npos)
        throw std::runtime_error("SQL on the test database failed:\n" + output);
}

void writeDbxFiles(const fs::path& folder, const DbxFiles& files) {
    // The store's own definition: the connections' built-in list, in its order.
    std::vector<std::pair<std::string, std::string>> connection =
        storedb::builtinStoreParams(files.database).lines();
    std::vector<std::pair<std::string, std::string>> driver = {
        {"LibraryName", QOR_DRIVER_LIBRARY_NAME},
        {"VendorLib", QOR_CLIENT_LIBRARY_NAME},
        {"GetDriverFunc", "getSQLDriverINTERBASE"},
    };
    auto apply = [](auto& list, const std::map<std::string, std::string>& overrides) {
        for (const auto& [key, value] : overrides) {
            bool found = false;
            for (auto& entry : list) {
                if (entry.first == key) {
                    entry.second = value;
                    found = true;
                }
            }
            if (!found) list.emplace_back(key, value);
        }
    };
    apply(connection, files.connectionOverrides);
    apply(driver, files.driverOverrides);

    auto section = [](const std::string& name, const auto& list) {
        std::string text = "[" + name + "]\n";
        for (const auto& [key, value] : list) text += key + "=" + value + "\n";
        return text;
    };
    fs::create_directories(folder);
    writeFile(folder / "dbxconnections.ini", section("Tendro", connection));
    writeFile(folder / "dbxdrivers.ini", section("Interbase", driver));
}

void writeDbxFiles(const fs::path& folder, const std::string& database) {
    writeDbxFiles(folder, DbxFiles{database, {}, {}});
}

void useDbxFilesIn(storedb::FixedDefinitionPaths& paths, const std::filesystem::path& folder) {
    paths.set(storedb::kConnectionRegistryFile,
              storedb::UserValue::of((folder / "dbxconnections.ini").string()));
    paths.set(storedb::kDriverRegistryFile,
              storedb::UserValue::of((folder / "dbxdrivers.ini").string()));
}

}  // namespace qor::test
