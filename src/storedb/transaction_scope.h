#pragma once
// An explicit transaction on a store connection that is rolled back unless it is committed:
//
//     TransactionScope transfer(store.SQLConnection2, kTransferTransaction);
//     store.SQL_M.execSql();   // a failure here or below leaves the scope and rolls back
//     store.SQL_S.execSql();
//     transfer.commit();       // only this keeps the work
//
// Starting fails as SqlConnection::startTransaction does ("A transaction is already active"
// while one is; the connect's own failures when closed), and then nothing needs undoing.
// Leaving the scope while the transaction is still open rolls it back; that rollback never
// throws: a failure of it is dropped, and the server undoes the work when the attachment ends.
#include "storedb/connection.h"
#include "storedb/transaction.h"

namespace qor::storedb {

class TransactionScope {
public:
    TransactionScope(SqlConnection& connection, const TransactionDesc& desc);
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;

    // Fails as SqlConnection::commit does; a transaction a failed commit leaves open is still
    // rolled back when the scope ends.
    void commit();
    // Rolls back now; fails as SqlConnection::rollback does.
    void rollback();

private:
    SqlConnection& connection_;
    TransactionDesc desc_;
    bool ended_ = false;  // committed or rolled back here: a later transaction is not ours
};

}  // namespace qor::storedb
