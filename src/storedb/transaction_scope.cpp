#include "storedb/transaction_scope.h"

#include <exception>

namespace qor::storedb {

TransactionScope::TransactionScope(SqlConnection& connection, const TransactionDesc& desc)
    : connection_(connection), desc_(desc) {
    connection_.startTransaction(desc_);
}

TransactionScope::~TransactionScope() {
    try {
        if (!ended_ && connection_.inTransaction()) connection_.rollback(desc_);
    } catch (const std::exception&) {
        // Nobody is left to tell; the server rolls back when the attachment ends.
    }
}

void TransactionScope::commit() {
    connection_.commit(desc_);
    ended_ = true;
}

void TransactionScope::rollback() {
    connection_.rollback(desc_);
    ended_ = true;
}

}  // namespace qor::storedb
