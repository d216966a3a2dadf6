#pragma once
// One prepared statement of an attachment, with its described markers and result columns.
// The attachment's cache keeps it for reuse and hands it to one user at a time; a cursor holds
// it while it reads.
#include <cstdint>
#include <string>
#include <vector>

#include "client_api.h"
#include "column_values.h"
#include "dataset/value.h"
#include "fb_transaction.h"
#include "parameter_binding.h"
#include "sqlda.h"
#include "statement_handle.h"

namespace qor::fbdriver {

enum class StatementKind { Select, Procedure, Other };

class Statement {
public:
    // Allocates and prepares `sql` in the transaction `tx`; throws with the server's text.
    Statement(const ClientApi& api, isc_db_handle* db, Transaction& tx, std::string sql,
              int dialect);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const std::string& sql() const { return sql_; }
    StatementKind kind() const { return kind_; }
    const std::vector<ds::ColumnDef>& columns() const { return columns_; }
    // The "?" markers as described at prepare, in order (no names).
    std::vector<ds::ColumnDef> markerColumns() const;

    // Binds `params` and runs the statement in `tx`. A select opens its cursor in `tx` (the
    // previous one must be closed). A procedure with outputs fills `procedureRow`.
    void execute(Transaction& tx, const std::vector<ds::Value>& params,
                 ds::Row* procedureRow = nullptr);
    // Rows inserted, updated or deleted by the last execution.
    std::int64_t affectedRows();

    // Reads the next row of the open cursor; false at its end.
    bool fetch(ds::Row& row, const ReadContext& context);
    bool cursorOpen() const { return cursorOpen_; }
    // Closes the cursor. Errors are ignored: the server may have closed it with its transaction.
    void closeCursor();
    // The transaction numbered `serial` has ended, and with it the cursor opened in it.
    void transactionEnded(std::uint64_t serial);

    // Frees the statement on the server; later calls fail. Safe to call twice.
    void drop();
    bool dropped() const { return handle_.dropped(); }

    // ---- use: one user at a time (a call of the attachment, or a cursor)
    // Marks the statement in use and returns the number of this use, which the user keeps.
    std::uint64_t beginUse();
    bool inUse() const { return inUse_; }
    std::uint64_t currentUse() const { return use_; }
    // True while the use numbered `use` has not ended.
    bool isCurrentUse(std::uint64_t use) const { return inUse_ && use_ == use; }
    // Ends the use numbered `use`: closes the cursor, and the statement is idle again. False,
    // with nothing done, when that use has ended already.
    bool endUse(std::uint64_t use);

private:
    void describeResult();
    void describeMarkers();
    void readKind();

    const ClientApi& api_;
    isc_db_handle* db_;
    StatementHandle handle_;
    std::string sql_;
    unsigned short dialect_;  // as the client's calls take it
    StatementKind kind_ = StatementKind::Other;
    Sqlda output_;
    Sqlda input_;
    std::vector<XSQLVAR> markers_;
    std::vector<ds::ColumnDef> columns_;
    ParameterBinding binding_;
    bool cursorOpen_ = false;
    std::uint64_t cursorTransaction_ = 0;  // serial of the transaction the cursor lives in
    bool inUse_ = false;
    std::uint64_t use_ = 0;
};

}  // namespace qor::fbdriver
