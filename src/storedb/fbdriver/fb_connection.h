#pragma once
// The driver's connection: options collected before connect, then one attachment.
#include <memory>

#include "attachment.h"
#include "storedb/dbx_driver.h"

namespace qor::fbdriver {

class FbConnection : public dbx::Connection {
public:
    explicit FbConnection(const ClientApi& api);
    ~FbConnection() override;

    void setOption(const std::string& key, const std::string& value) override;
    void connect(const std::string& database, const std::string& user,
                 const std::string& password) override;
    void disconnect() override;
    bool connected() const override;

    std::unique_ptr<dbx::Cursor> query(const std::string& sql,
                                       const std::vector<ds::Value>& params) override;
    std::int64_t execute(const std::string& sql, const std::vector<ds::Value>& params) override;
    std::vector<ds::ColumnDef> describeParameters(const std::string& sql) override;

    void startTransaction(int isolation) override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;

private:
    std::shared_ptr<Attachment> attachment_;
};

class FbDriver : public dbx::Driver {
public:
    explicit FbDriver(const ClientApi& api) : api_(api) {}
    std::unique_ptr<dbx::Connection> createConnection() override;

private:
    const ClientApi& api_;
};

}  // namespace qor::fbdriver
