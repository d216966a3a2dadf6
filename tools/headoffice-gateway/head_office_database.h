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

namespace qor::headoffice {

struct DatabaseSettings {
    std::string database;  // a path (embedded) or server:path
    std::string user;
    std::string password;
    std::string driverDir;  // where libdbxfb.so is looked for first
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

    // Runs one read statement and returns its columns and rows. Safe from several threads:
    // each call takes a connection of its own from the pool. Fails with the database's message.
    ds::Table select(const std::string& statement);

private:
    std::unique_ptr<storedb::SqlConnection> takeConnection();
    void giveBack(std::unique_ptr<storedb::SqlConnection> connection);

    DatabaseSettings settings_;
    storedb::FixedDefinitionPaths paths_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<storedb::SqlConnection>> idle_;
};

}  // namespace qor::headoffice
