#pragma once
// The head-office database as the gateway reaches it: a pool of connections made through the
// store-database layer, each used by one request at a time.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dataset/value.h"
#include "storedb/connection.h"
#include "storedb/definition_paths.h"
#include "storedb/query.h"

namespace qor::headoffice {

struct DatabaseSettings {
    std::string database;  // a path (embedded) or server:path
    std::string user;
    std::string password;
    std::string driverDir;  // where libdbxfb.so is looked for first
};

class HeadOfficeDatabase;

// One statement's result, read a few rows at a time on a pooled connection of its own. The
// connection goes back to the pool when the cursor goes, unless a read failed: then it is
// dropped, so a connection broken under a request does not fail the requests after it.
class ResultCursor {
public:
    ~ResultCursor();
    ResultCursor(const ResultCursor&) = delete;
    ResultCursor& operator=(const ResultCursor&) = delete;

    const std::vector<ds::ColumnDef>& columns() const { return columns_; }
    int lcid() const { return lcid_; }
    // Appends up to `most` further rows to `rows`. Fails with the database's message.
    void fetch(std::size_t most, std::vector<ds::Row>& rows);
    // Every row has been read.
    bool atEnd() const;

private:
    friend class HeadOfficeDatabase;
    ResultCursor(HeadOfficeDatabase& pool, std::unique_ptr<storedb::SqlConnection> connection);

    HeadOfficeDatabase& pool_;
    std::unique_ptr<storedb::SqlConnection> connection_;
    std::unique_ptr<storedb::SqlQuery> query_;
    std::vector<ds::ColumnDef> columns_;
    int lcid_ = 0;
    bool failed_ = false;
};

class HeadOfficeDatabase {
public:
    explicit HeadOfficeDatabase(DatabaseSettings settings);
    ~HeadOfficeDatabase();
    HeadOfficeDatabase(const HeadOfficeDatabase&) = delete;
    HeadOfficeDatabase& operator=(const HeadOfficeDatabase&) = delete;

    // Opens one connection now, so a wrong path or account shows at start-up. Fails with the
    // database's message.
    void checkConnection();

    // Runs one read statement and stands before its first row. Safe from several threads:
    // each cursor takes a connection of its own from the pool. Fails with the database's
    // message.
    std::unique_ptr<ResultCursor> open(const std::string& statement);

private:
    friend class ResultCursor;
    std::unique_ptr<storedb::SqlConnection> takeConnection();
    void giveBack(std::unique_ptr<storedb::SqlConnection> connection);

    DatabaseSettings settings_;
    storedb::FixedDefinitionPaths paths_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<storedb::SqlConnection>> idle_;
};

}  // namespace qor::headoffice
