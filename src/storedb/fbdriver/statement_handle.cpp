#include "statement_handle.h"

#include "status.h"

namespace qor::fbdriver {

StatementHandle::StatementHandle(const ClientApi& api, isc_db_handle* db) : api_(api) {
    Status status;
    api_.dsql_allocate_statement(status.get(), db, &handle_);
    check(api_, status);
}

void StatementHandle::drop() noexcept {
    if (handle_ == 0) return;
    Status ignored;
    api_.dsql_free_statement(ignored.get(), &handle_, DSQL_drop);
    handle_ = 0;
}

void StatementHandle::closeCursor() noexcept {
    if (handle_ == 0) return;
    Status ignored;
    api_.dsql_free_statement(ignored.get(), &handle_, DSQL_close);
}

}  // namespace qor::fbdriver
