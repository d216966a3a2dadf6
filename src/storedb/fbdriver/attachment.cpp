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

// Ends the use `acquire` began on every way out of a call, unless a cursor took it over.
class Lease {
public:
    Lease(Attachment& attachment, std::shared_ptr<Statement> statement)
        : attachment_(attachment),
          statement_(std::move(statement)),
          use_(statement_->currentUse()) {}
    ~Lease() {
        if (statement_) attachment_.release(*statement_, use_);
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Statement& operator*() const { return *statement_; }
    Statement* operator->() const { return statement_.get(); }
    std::uint64_t use() const { return use_; }
    // Hands the statement over to a cursor, which ends the use itself.
    std::shared_ptr<Statement> handOver() { return std::move(statement_); }

private:
    Attachment& attachment_;
    std::shared_ptr<Statement> statement_;
    std::uint64_t use_;
};

}  // namespace

// A transaction of the attachment that is rolled back when the scope ends without commit().
class Attachment::OwnTransaction {
public:
    OwnTransaction(Attachment& attachment, Transaction tx) : attachment_(attachment), tx_(tx) {}
    ~OwnTransaction() { attachment_.endQuietly(tx_, Outcome::Rollback); }
    OwnTransaction(const OwnTransaction&) = delete;
    OwnTransaction& operator=(const OwnTransaction&) = delete;

    Transaction& get() { return tx_; }
    // A failed commit leaves the transaction to the rollback on the way out.
    void commit() { attachment_.end(tx_, Outcome::Commit); }

private:
    Attachment& attachment_;
    Transaction tx_;
};

Attachment::~Attachment() { detach(); }

void Attachment::attach(const std::string& database, const std::string& user,
                        const std::string& password) {
    if (attached()) detach();
    lost_.reset();
    const std::string block = attachmentBlock(user, password, options_);
    Status status;
    isc_db_handle db = 0;
    api_.attach_database(status.get(), 0, database.c_str(), &db, static_cast<short>(block.size()),
                         block.data());
    check(api_, status);
    db_ = db;
}

void Attachment::detach() {
    if (!attached()) return;
    endQuietly(explicit_, Outcome::Rollback);
    endQuietly(retained_, Outcome::Commit);
    endQuietly(read_, Outcome::Commit);
    cache_.dropAll();
    Status ignored;
    api_.detach_database(ignored.get(), &db_);
    db_ = 0;
}

// The codes with which the client says the attachment itself is gone; every later call on
// it fails the same way.
bool Attachment::isLost(const dbx::DatabaseError& failure) {
    switch (failure.codes().gdsCode()) {
    case isc_network_error:
    case isc_net_read_err:
    case isc_net_write_err:
    case isc_lost_db_connection:
    case isc_conn_lost:
    case isc_att_shutdown:
    case isc_net_server_shutdown:
        return true;
    default:
        return false;
    }
}

void Attachment::letGo(const dbx::DatabaseError& failure) noexcept {
    detach();  // each of its calls fails quietly on a dead line
    lost_ = failure;
}

void Attachment::throwIfLost() const {
    if (lost_) throw *lost_;
}

void Attachment::requireAttached() const {
    if (!attached()) throw std::runtime_error("The connection is not open");
}

Transaction Attachment::begin(const std::string& block) {
    requireAttached();
    Transaction tx;
    TransactionVector vector{&db_, static_cast<long>(block.size()), block.data()};
    Status status;
    api_.start_multiple(status.get(), &tx.handle, 1, &vector);
    check(api_, status);
    tx.serial = nextSerial_++;
    return tx;
}

void Attachment::end(Transaction& tx, Outcome outcome) {
    if (!tx.active()) return;
    Status status;
    if (outcome == Outcome::Commit)
        api_.commit_transaction(status.get(), &tx.handle);
    else
        api_.rollback_transaction(status.get(), &tx.handle);
    check(api_, status);
    const std::uint64_t serial = tx.serial;
    cache_.forEach([serial](Statement& statement) { statement.transactionEnded(serial); });
    tx = Transaction{};
}

void Attachment::endQuietly(Transaction& tx, Outcome outcome) noexcept {
    try {
        end(tx, outcome);
    } catch (const std::exception&) {
        // Nobody is left to tell: the attachment is going, or a failure is already on its way
        // out. The server ends what is left when the attachment ends.
        tx = Transaction{};
    }
}

Transaction& Attachment::readTransaction() {
    if (!read_.active()) read_ = begin(readTransactionBlock());
    return read_;
}

Transaction& Attachment::currentTransaction() {
    return inTransaction() ? explicit_ : readTransaction();
}

std::shared_ptr<Statement> Attachment::acquire(const std::string& sql) {
    requireAttached();
    if (std::shared_ptr<Statement> idle = cache_.takeIdle(sql)) {
        idle->beginUse();
        return idle;
    }
    auto made =
        std::make_shared<Statement>(api_, &db_, currentTransaction(), sql, options_.dialect);
    made->beginUse();  // before the cache trims: a statement in use is never dropped
    cache_.add(made);
    return made;
}

void Attachment::release(Statement& statement, std::uint64_t use) {
    if (statement.endUse(use)) cache_.trim();
}

ReadContext Attachment::readContext(isc_tr_handle* tr) {
    return ReadContext{&api_, &db_, tr, options_.trimChar, options_.blobLimit};
}

std::int64_t Attachment::runOnItsOwn(Statement& statement, const std::vector<ds::Value>& params,
                                     ds::Row* procedureRow) {
    OwnTransaction tx(*this,
                      begin(writeTransactionBlock(options_.isolation, options_.waitOnLocks)));
    statement.execute(tx.get(), params, procedureRow);
    const std::int64_t rows =
        statement.kind() == StatementKind::Other ? statement.affectedRows() : 0;
    tx.commit();
    return rows;
}

std::unique_ptr<dbx::Cursor> Attachment::query(const std::string& sql,
                                               const std::vector<ds::Value>& params) {
    Lease statement(*this, acquire(sql));
    switch (statement->kind()) {
    case StatementKind::Select: {
        Transaction& tx = currentTransaction();
        statement->execute(tx, params);
        const std::uint64_t use = statement.use();
        return std::make_unique<StatementCursor>(shared_from_this(), statement.handOver(), use,
                                                 tx.handle);
    }
    case StatementKind::Procedure: {
        ds::Row row;
        if (inTransaction())
            statement->execute(explicit_, params, &row);
        else
            runOnItsOwn(*statement, params, &row);
        return std::make_unique<RowsCursor>(statement->columns(), std::vector<ds::Row>{std::move(row)});
    }
    case StatementKind::Other:
        // A statement without a result given as a read: it runs, and there are no rows.
        if (inTransaction())
            statement->execute(explicit_, params);
        else
            runOnItsOwn(*statement, params, nullptr);
        return std::make_unique<RowsCursor>(std::vector<ds::ColumnDef>{}, std::vector<ds::Row>{});
    }
    return nullptr;
}

std::int64_t Attachment::execute(const std::string& sql, const std::vector<ds::Value>& params) {
    Lease statement(*this, acquire(sql));
    if (!inTransaction()) return runOnItsOwn(*statement, params, nullptr);
    statement->execute(explicit_, params);
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
    Isolation level = options_.isolation;
    if (isolation == 0 || isolation == 1 || isolation == 2) level = static_cast<Isolation>(isolation);
    // A context kept by an earlier commit-retaining ends now: its work is committed already.
    endQuietly(retained_, Outcome::Commit);
    explicit_ = begin(writeTransactionBlock(level, options_.waitOnLocks));
}

void Attachment::commit() {
    if (!inTransaction()) throw std::runtime_error("There is no active transaction");
    if (options_.commitRetain) {
        Status status;
        api_.commit_retaining(status.get(), &explicit_.handle);
        check(api_, status);
        retained_ = explicit_;
        explicit_ = Transaction{};
        return;
    }
    end(explicit_, Outcome::Commit);
}

void Attachment::rollback() {
    if (!inTransaction()) throw std::runtime_error("There is no active transaction");
    end(explicit_, Outcome::Rollback);
}

}  // namespace qor::fbdriver
