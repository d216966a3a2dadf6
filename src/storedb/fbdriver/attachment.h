#pragma once
// One attachment to a database: its transactions, its prepared statements, and the running of
// read and write statements. Shared by the connection and the cursors it hands out, so that a
// cursor outliving its connection finds a closed attachment instead of freed memory.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "client_api.h"
#include "connection_options.h"
#include "dataset/value.h"
#include "storedb/dbx_driver.h"
#include "statement_cache.h"

namespace qor::fbdriver {

class Attachment : public std::enable_shared_from_this<Attachment> {
public:
    explicit Attachment(const ClientApi& api) : api_(api) {}
    ~Attachment();

    ConnectionOptions options;

    void attach(const std::string& database, const std::string& user, const std::string& password);
    // Rolls back an explicit transaction still open, ends the others, frees the statements.
    void detach();
    bool attached() const { return db_ != 0; }

    std::unique_ptr<dbx::Cursor> query(const std::string& sql, const std::vector<ds::Value>& params);
    std::int64_t execute(const std::string& sql, const std::vector<ds::Value>& params);
    std::vector<ds::ColumnDef> describeParameters(const std::string& sql);

    // isolation: 0, 1, 2 as Isolation; -1 (or anything else) the connection's own.
    void startTransaction(int isolation);
    void commit();
    void rollback();
    bool inTransaction() const { return explicit_.handle != 0; }

    // For cursors: give a statement back; a read may need the attachment's handles.
    void release(Statement& statement, std::uint64_t generation);
    ReadContext readContext(isc_tr_handle* tr);

private:
    struct Transaction {
        isc_tr_handle handle = 0;
        std::uint64_t serial = 0;
    };

    void requireAttached() const;
    Transaction begin(const std::string& block);
    // Commits (or rolls back) and forgets the cursors the server closes with the transaction.
    void end(Transaction& tx, bool commit);
    void endQuietly(Transaction& tx, bool commit);
    Transaction& readTransaction();
    // The transaction that statements outside an explicit one are prepared in.
    Transaction& currentTransaction();
    // An idle prepared statement for `sql`, marked busy with a new generation.
    std::shared_ptr<Statement> acquire(const std::string& sql);
    // Runs a write on its own: in a fresh transaction, committed at once, undone on failure.
    std::int64_t runOnItsOwn(Statement& statement, const std::vector<ds::Value>& params,
                             ds::Row* procedureRow);

    const ClientApi& api_;
    isc_db_handle db_ = 0;
    Transaction read_;      // long-lived, read only, read committed
    Transaction explicit_;  // started by the program
    Transaction retained_;  // committed with "commit retaining": context kept, cursors open
    std::uint64_t nextSerial_ = 1;
    StatementCache cache_{64};
};

}  // namespace qor::fbdriver
