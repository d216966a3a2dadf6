#include "head_office_database.h"

#include "storedb/query.h"

namespace qor::headoffice {

HeadOfficeDatabase::HeadOfficeDatabase(DatabaseSettings settings)
    : settings_(std::move(settings)), paths_(settings_.driverDir) {}

HeadOfficeDatabase::~HeadOfficeDatabase() = default;

void HeadOfficeDatabase::checkConnection() {
    giveBack(takeConnection());
}

std::unique_ptr<storedb::SqlConnection> HeadOfficeDatabase::takeConnection() {
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto connection = std::move(idle_.back());
            idle_.pop_back();
            return connection;
        }
    }
    // The parameters are given here; no definition file is read.
    auto connection = std::make_unique<storedb::SqlConnection>("HeadOffice", paths_);
    connection->setLoadParamsOnConnect(false);
    connection->setLibraryName("libdbxfb.so");
    connection->setVendorLib("libfbclient.so.2");
    connection->params().set("Database", settings_.database);
    connection->params().set("User_Name", settings_.user);
    connection->params().set("Password", settings_.password);
    connection->params().set("SQLDialect", "3");
    connection->open();
    return connection;
}

void HeadOfficeDatabase::giveBack(std::unique_ptr<storedb::SqlConnection> connection) {
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(connection));
}

ds::Table HeadOfficeDatabase::select(const std::string& statement) {
    auto connection = takeConnection();
    ds::Table table;
    {
        // A failed statement drops its connection: the next request gets a fresh one, so a
        // connection broken under a request does not fail the requests after it.
        storedb::SqlQuery query("Gateway", *connection);
        query.setSql(statement);
        table = query.openTable();
    }
    giveBack(std::move(connection));
    return table;
}

}  // namespace qor::headoffice
