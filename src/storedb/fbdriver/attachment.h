#pragma once
// One attachment to a database: its transactions, its prepared statements, and the running of
// read and write statements. Shared by the connection and the cursors it hands out, so that a
// cursor outliving its connection finds a closed attachment instead of freed memory.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client_api.h"
#include "connection_options.h"
#include "dataset/value.h"
#include "fb_transaction.h"
#include "statement_cache.h"
#include "storedb/dbx_driver.h"

namespace qor::fbdriver {

class Attachment : public std::enable_shared_from_this<Attachment> {
public:
    explicit Attachment(const ClientApi& api) : api_(api) {}
    ~Attachment();

    // Takes one option of the connection's parameter list; used by the next attach and by the
    // transactions and reads after it.
    void setOption(const std::string& key, const std::string& value) { options_.set(key, value); }
    const ConnectionOptions& options() const { return options_; }

    void attach(const std::string& database, const std::string& user, const std::string& password);
    // Rolls back an explicit transaction still open, ends the others, frees the statements.
    void detach();
    // False after detach(), and after a call found the attachment gone (the server stopped,
    // the network broke): then it is let go at once, its transactions with it, so the
    // connection counts as closed and its next use attaches again.
    bool attached() const { return db_ != 0; }
    // Rows cut off by a lost attachment are a failure, not the end of the rows: throws the
    // failure that found it gone, if one did.
    void throwIfLost() const;

    // Runs a call on the attachment; a failure saying the attachment is gone lets it go
    // before the failure goes on.
    template <typename Call>
    decltype(auto) guarded(Call&& call) {
        try {
            return call();
        } catch (const dbx::DatabaseError& failure) {
            if (isLost(failure)) letGo(failure);
            throw;
        }
    }

    std::unique_ptr<dbx::Cursor> query(const std::string& sql, const std::vector<ds::Value>& params);
    std::int64_t execute(const std::string& sql, const std::vector<ds::Value>& params);
    std::vector<ds::ColumnDef> describeParameters(const std::string& sql);

    // isolation: 0, 1, 2 as Isolation; anything else the connection's own.
    void startTransaction(int isolation);
    void commit();
    void rollback();
    bool inTransaction() const { return explicit_.active(); }

    // For cursors: end the use of a statement they hold (a later use is left alone); a read
    // may need the attachment's handles.
    void release(Statement& statement, std::uint64_t use);
    ReadContext readContext(isc_tr_handle* tr);

private:
    class OwnTransaction;

    static bool isLost(const dbx::DatabaseError& failure);
    void letGo(const dbx::DatabaseError& failure) noexcept;
    void requireAttached() const;
    Transaction begin(const std::string& block);
    // Commits or rolls back; the server closes the transaction's cursors with it.
    void end(Transaction& tx, Outcome outcome);
    // The same, a failure dropped: for ends nobody could report.
    void endQuietly(Transaction& tx, Outcome outcome) noexcept;
    Transaction& readTransaction();
    // The transaction that statements outside an explicit one are prepared in.
    Transaction& currentTransaction();
    // An idle prepared statement for `sql`, its use begun.
    std::shared_ptr<Statement> acquire(const std::string& sql);
    // Runs a write on its own: in a fresh transaction, committed at once, undone on failure.
    std::int64_t runOnItsOwn(Statement& statement, const std::vector<ds::Value>& params,
                             ds::Row* procedureRow);

    const ClientApi& api_;
    ConnectionOptions options_;
    isc_db_handle db_ = 0;
    Transaction read_;      // long-lived, read only, read committed
    Transaction explicit_;  // started by the program
    Transaction retained_;  // committed with "commit retaining": context kept, cursors open
    std::uint64_t nextSerial_ = 1;
    StatementCache cache_{64};
    std::optional<dbx::DatabaseError> lost_;  // the failure that found the attachment gone
};

}  // namespace qor::fbdriver
