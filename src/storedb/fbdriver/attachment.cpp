#include "attachment.h"

#include <stdexcept>

#include "cursors.h"
#include "parameter_blocks.h"
#include "status.h"

namespace qor::fbdriver {
namespace {

// The transaction-existence block for one database (isc_start_multiple).
struct TransactionVector {
    isc_db_handle* db;
    long length;
    const char* block;
};

// Gives a statement back to the attachment on every way out of a call.
class Lease {
public:
    Lease(Attachment& attachment, std::shared_ptr<Statement> statement)
        : attachment_(attachment), statement_(std::move(statement)), generation_(statement_->generation) {}
    ~Lease() {
        if (statement_) attachment_.release(*statement_, generation_);
    }
    Statement& operator*() const { return *statement_; }
    Statement* operator->() const { return statement_.get(); }
    // Hands the statement over to a cursor, which gives it back itself.
    std::shared_ptr<Statement> handOver() { return std::move(statement_); }

private:
    Attachment& attachment_;
    std::shared_ptr<Statement> statement_;
    std::uint64_t generation_;
};

}  // namespace

Attachment::~Attachment() { detach(); }

void Attachment::attach(const std::string& database, const std::string& user,
                        const std::string& password) {
    if (attached()) detach();
    const std::string block = attachmentBlock(user, password, options);
    Status status;
    isc_db_handle db = 0;
    api_.attach_database(status.get(), 0, database.c_str(), &db, static_cast<short>(block.size()),
                         block.data());
    check(api_, status);
    db_ = db;
}

void Attachment::detach() {
    if (!attached()) return;
    endQuietly(explicit_, false);
    endQuietly(retained_, true);
    endQuietly(read_, true);
    cache_.clear(true);
    Status ignored;
    api_.detach_database(ignored.get(), &db_);
    db_ = 0;
}

void Attachment::requireAttached() const {
    if (!attached()) throw std::runtime_error("The connection is not open");
}

Attachment::Transaction Attachment::begin(const std::string& block) {
    requireAttached();
    Transaction tx;
    TransactionVector vector{&db_, static_cast<long>(block.size()), block.data()};
    Status status;
    api_.start_multiple(status.get(), &tx.handle, 1, &vector);
    check(api_, status);
    tx.serial = nextSerial_++;
    return tx;
}

void Attachment::end(Transaction& tx, bool commit) {
    if (tx.handle == 0) return;
    Status status;
    if (commit)
        api_.commit_transaction(status.get(), &tx.handle);
    else
        api_.rollback_transaction(status.get(), &tx.handle);
    check(api_, status);
    // The server closed the cursors of the transaction with it.
    const std::uint64_t serial = tx.serial;
    cache_.forEach([serial](Statement& statement) {
        if (statement.cursorOpen() && statement.cursorTxSerial == serial) statement.forgetCursor();
    });
    tx = Transaction{};
}

void Attachment::endQuietly(Transaction& tx, bool commit) {
    try {
        end(tx, commit);
    } catch (const std::exception&) {
        // The attachment is going anyway (or the line is gone): the server ends what is left.
        tx = Transaction{};
    }
}

Attachment::Transaction& Attachment::readTransaction() {
    if (read_.handle == 0) read_ = begin(readTransactionBlock());
    return read_;
}

Attachment::Transaction& Attachment::currentTransaction() {
    return inTransaction() ? explicit_ : readTransaction();
}

std::shared_ptr<Statement> Attachment::acquire(const std::string& sql) {
    requireAttached();
    std::shared_ptr<Statement> statement = cache_.takeIdle(sql);
    if (!statement) {
        statement = std::make_shared<Statement>(api_, &db_, &currentTransaction().handle, sql,
                                                options.dialect);
        cache_.add(statement);
    }
    statement->busy = true;
    ++statement->generation;
    return statement;
}

void Attachment::release(Statement& statement, std::uint64_t generation) {
    if (!statement.busy || statement.generation != generation) return;
    statement.closeCursor();
    statement.busy = false;
    cache_.trim();
}

ReadContext Attachment::readContext(isc_tr_handle* tr) {
    return ReadContext{&api_, &db_, tr, options.trimChar, options.blobLimit};
}

std::int64_t Attachment::runOnItsOwn(Statement& statement, const std::vector<ds::Value>& params,
                                     ds::Row* procedureRow) {
    Transaction tx = begin(writeTransactionBlock(options.isolation, options.waitOnLocks));
    try {
        statement.execute(&tx.handle, params, procedureRow);
        std::int64_t rows = statement.kind() == StatementKind::Other ? statement.affectedRows() : 0;
        statement.closeCursor();
        end(tx, true);
        return rows;
    } catch (...) {
        statement.closeCursor();
        endQuietly(tx, false);
        throw;
    }
}

std::unique_ptr<dbx::Cursor> Attachment::query(const std::string& sql,
                                               const std::vector<ds::Value>& params) {
    Lease statement(*this, acquire(sql));
    switch (statement->kind()) {
    case StatementKind::Select: {
        Transaction& tx = currentTransaction();
        statement->execute(&tx.handle, params);
        statement->cursorTxSerial = tx.serial;
        return std::make_unique<StatementCursor>(shared_from_this(), statement.handOver(), tx.handle);
    }
    case StatementKind::Procedure: {
        ds::Row row;
        if (inTransaction())
            statement->execute(&explicit_.handle, params, &row);
        else
            runOnItsOwn(*statement, params, &row);
        return std::make_unique<RowsCursor>(statement->columns(), std::vector<ds::Row>{std::move(row)});
    }
    case StatementKind::Other:
        // A statement without a result given as a read: it runs, and there are no rows.
        if (inTransaction())
            statement->execute(&explicit_.handle, params);
        else
            runOnItsOwn(*statement, params, nullptr);
        return std::make_unique<RowsCursor>(std::vector<ds::ColumnDef>{}, std::vector<ds::Row>{});
    }
    return nullptr;
}

std::int64_t Attachment::execute(const std::string& sql, const std::vector<ds::Value>& params) {
    Lease statement(*this, acquire(sql));
    if (!inTransaction()) return runOnItsOwn(*statement, params, nullptr);
    statement->execute(&explicit_.handle, params);
    std::int64_t rows = statement->kind() == StatementKind::Other ? statement->affectedRows() : 0;
    statement->closeCursor();
    return rows;
}

std::vector<ds::ColumnDef> Attachment::describeParameters(const std::string& sql) {
    Lease statement(*this, acquire(sql));
    return statement->markerColumns();
}

void Attachment::startTransaction(int isolation) {
    requireAttached();
    if (inTransaction()) throw std::runtime_error("A transaction is already active");
    Isolation level = options.isolation;
    if (isolation == 0 || isolation == 1 || isolation == 2) level = static_cast<Isolation>(isolation);
    // A context kept by an earlier commit-retaining ends now: its work is committed already.
    endQuietly(retained_, true);
    explicit_ = begin(writeTransactionBlock(level, options.waitOnLocks));
}

void Attachment::commit() {
    if (!inTransaction()) throw std::runtime_error("There is no active transaction");
    if (options.commitRetain) {
        Status status;
        api_.commit_retaining(status.get(), &explicit_.handle);
        check(api_, status);
        retained_ = explicit_;
        explicit_ = Transaction{};
        return;
    }
    end(explicit_, true);
}

void Attachment::rollback() {
    if (!inTransaction()) throw std::runtime_error("There is no active transaction");
    end(explicit_, false);
}

}  // namespace qor::fbdriver
