#include "fb_connection.h"

namespace qor::fbdriver {

FbConnection::FbConnection(const ClientApi& api) : attachment_(std::make_shared<Attachment>(api)) {}

FbConnection::~FbConnection() { attachment_->detach(); }

void FbConnection::setOption(const std::string& key, const std::string& value) {
    attachment_->setOption(key, value);
}

void FbConnection::connect(const std::string& database, const std::string& user,
                           const std::string& password) {
    attachment_->attach(database, user, password);
}

void FbConnection::disconnect() { attachment_->detach(); }

bool FbConnection::connected() const { return attachment_->attached(); }

std::unique_ptr<dbx::Cursor> FbConnection::query(const std::string& sql,
                                                 const std::vector<ds::Value>& params) {
    return attachment_->guarded([&] { return attachment_->query(sql, params); });
}

std::int64_t FbConnection::execute(const std::string& sql, const std::vector<ds::Value>& params) {
    return attachment_->guarded([&] { return attachment_->execute(sql, params); });
}

std::vector<ds::ColumnDef> FbConnection::describeParameters(const std::string& sql) {
    return attachment_->guarded([&] { return attachment_->describeParameters(sql); });
}

void FbConnection::startTransaction(int isolation) {
    attachment_->guarded([&] { attachment_->startTransaction(isolation); });
}

void FbConnection::commit() {
    attachment_->guarded([&] { attachment_->commit(); });
}

void FbConnection::rollback() {
    attachment_->guarded([&] { attachment_->rollback(); });
}

bool FbConnection::inTransaction() const { return attachment_->inTransaction(); }

std::unique_ptr<dbx::Connection> FbDriver::createConnection() {
    return std::make_unique<FbConnection>(api_);
}

}  // namespace qor::fbdriver
