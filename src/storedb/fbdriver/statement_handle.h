#pragma once
// A statement handle of the client that frees itself on the server when it goes.
#include "client_api.h"

namespace qor::fbdriver {

class StatementHandle {
public:
    // Allocates the handle on the attachment; throws with the server's text.
    StatementHandle(const ClientApi& api, isc_db_handle* db);
    ~StatementHandle() { drop(); }
    StatementHandle(const StatementHandle&) = delete;
    StatementHandle& operator=(const StatementHandle&) = delete;

    isc_stmt_handle* get() { return &handle_; }
    bool dropped() const { return handle_ == 0; }
    // Frees the statement on the server; later calls with it fail. Never throws; safe twice.
    void drop() noexcept;
    // Closes the open cursor. Errors are ignored: the server may have closed it already.
    void closeCursor() noexcept;

private:
    const ClientApi& api_;
    isc_stmt_handle handle_ = 0;
};

}  // namespace qor::fbdriver
