#pragma once
// A Firebird database file made for one test, embedded (no server), in a temporary folder that
// is removed with the object. Also the two definition files that point a connection at it.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "storedb/definition_paths.h"
#include "temp_folder.h"

namespace qor::test {

// Why this build cannot make a test database, or nothing when it can. The Windows build runs
// its tests under Wine, where there is no Firebird engine and no isql to make one.
std::optional<std::string> testDatabaseUnavailable();

// For a test that makes a database in its body: skips it, with the reason, where none can be
// made. (A fixture holding a TempDatabase needs nothing: the database's constructor skips the
// test before its SetUp runs.)
#define QOR_SKIP_WITHOUT_TEST_DATABASE()                                   \
    if (auto qorNoDatabase = ::qor::test::testDatabaseUnavailable())      \
    GTEST_SKIP() << *qorNoDatabase

// Where a database cannot be made (see testDatabaseUnavailable) the constructors record the
// running test as skipped and make only the folder.
class TempDatabase {
public:
    // The store database: <folder>/POSDATA.FDB from db/store-schema.sql, then `extraSql`
    // (isql text: statements ending in ";", COMMIT added at the end).
    explicit TempDatabase(const std::string& extraSql = {});
    // Any schema files (absolute, or relative to the source folder, e.g.
    // "db/headoffice-schema.sql"), then `extraSql`, into <folder>/<fileName>.
    TempDatabase(const std::vector<std::string>& schemaFiles, const std::string& extraSql,
                 const std::string& fileName = "POSDATA.FDB");
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    const std::filesystem::path& folder() const { return folder_.path(); }
    // The database file's full path: what "Database=" names for an embedded connection.
    std::string path() const { return path_.string(); }

    // Runs more isql text on the file (COMMIT added). Embedded Firebird opens a file for one
    // process at a time: call it while no connection of the test is attached to the file.
    void runSql(const std::string& sql) const;

private:
    TempFolder folder_{"qor-db-"};
    std::filesystem::path path_;
};

// isql text for a store of 2500 products, codes "000000".."002499" (barcode 'B' and the
// number, both prices the number): more than two packets of 1000 rows.
inline constexpr const char* kStoreOf2500Products =
    "SET TERM ^ ;\n"
    "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN\n"
    "  WHILE (I < 2500) DO BEGIN\n"
    "    INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PSALE_PRICE, VIP_PRICE)\n"
    "      VALUES (LPAD(:I, 6, '0'), 'B' || :I, :I, :I);\n"
    "    I = I + 1;\n"
    "  END\n"
    "END^\n"
    "SET TERM ; ^\n";

// Parameters of the "Tendro" section as the store's own definition file carries them, with
// `Database` set; `overrides` replace values by key (exact key) or add keys at the end. An
// override with an empty value writes "Key=".
struct DbxFiles {
    std::string database;
    std::map<std::string, std::string> connectionOverrides;
    std::map<std::string, std::string> driverOverrides;  // keys of the [Interbase] section
};

// Writes <folder>/dbxconnections.ini and <folder>/dbxdrivers.ini. Returns nothing; throws
// std::runtime_error when a file cannot be written.
void writeDbxFiles(const std::filesystem::path& folder, const DbxFiles& files);
// The common case: both files for `database` with the built-in values.
void writeDbxFiles(const std::filesystem::path& folder, const std::string& database);
// Points `paths` at <folder>/dbxconnections.ini and <folder>/dbxdrivers.ini, as the per-user
// values would.
void useDbxFilesIn(storedb::FixedDefinitionPaths& paths, const std::filesystem::path& folder);

}  // namespace qor::test
