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

std::unique_ptr<ResultCursor> HeadOfficeDatabase::open(const std::string& statement) {
    // A statement that fails here drops its connection with the half-made cursor.
    std::unique_ptr<ResultCursor> cursor(new ResultCursor(*this, takeConnection()));
    cursor->failed_ = true;
    cursor->query_->setSql(statement);
    cursor->query_->open();
    cursor->columns_ = cursor->query_->columns();
    cursor->lcid_ = cursor->connection_->localeCode();
    cursor->failed_ = false;
    return cursor;
}

ResultCursor::ResultCursor(HeadOfficeDatabase& pool,
                           std::unique_ptr<storedb::SqlConnection> connection)
    : pool_(pool), connection_(std::move(connection)),
      query_(std::make_unique<storedb::SqlQuery>("Gateway", *connection_)) {}

ResultCursor::~ResultCursor() {
    query_.reset();  // ends the statement's transaction before the connection moves on
    if (failed_) return;
    try {
        pool_.giveBack(std::move(connection_));
    } catch (...) {
        // the connection is dropped instead
    }
}

void ResultCursor::fetch(std::size_t most, std::vector<ds::Row>& rows) {
    failed_ = true;
    query_->fetchRows(static_cast<int>(most), rows);
    failed_ = false;
}

bool ResultCursor::atEnd() const { return query_->eof(); }

}  // namespace qor::headoffice
