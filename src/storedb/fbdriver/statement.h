#pragma once
// One prepared statement of an attachment, with its described markers and result columns.
// The attachment's cache keeps it for reuse; a cursor holds it while it reads.
#include <cstdint>
#include <string>
#include <vector>

#include "client_api.h"
#include "column_values.h"
#include "dataset/value.h"
#include "parameter_blocks.h"
#include "parameter_binding.h"
#include "sqlda.h"

namespace qor::fbdriver {

enum class StatementKind { Select, Procedure, Other };

class Statement {
public:
    // Allocates and prepares `sql` in the transaction `tr`; throws with the server's text.
    Statement(const ClientApi& api, isc_db_handle* db, isc_tr_handle* tr, std::string sql,
              int dialect);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const std::string& sql() const { return sql_; }
    StatementKind kind() const { return kind_; }
    const std::vector<ds::ColumnDef>& columns() const { return columns_; }

    // Binds `params` and runs the statement in `tr`. A select opens its cursor (the previous
    // one must be closed). A procedure with outputs fills `procedureRow`.
    void execute(isc_tr_handle* tr, const std::vector<ds::Value>& params,
                 ds::Row* procedureRow = nullptr);
    // Rows inserted, updated or deleted by the last execution.
    std::int64_t affectedRows();

    // Reads the next row of the open cursor; false at its end.
    bool fetch(ds::Row& row, const ReadContext& context);
    bool cursorOpen() const { return cursorOpen_; }
    // Closes the cursor. Errors are ignored: the server may have closed it with its transaction.
    void closeCursor();
    // The server closed the cursor (its transaction ended).
    void forgetCursor() { cursorOpen_ = false; }

    // Frees the statement on the server; later calls fail. Safe to call twice.
    void drop();
    // The attachment is gone: the handle must not be used any more.
    void abandon() { handle_ = 0; cursorOpen_ = false; }
    bool dropped() const { return handle_ == 0; }

    // Bookkeeping of the cache and the cursors.
    bool busy = false;               // a cursor or a call is using it
    std::uint64_t generation = 0;    // bumped at every use; a cursor remembers its own
    std::uint64_t cursorTxSerial = 0;

private:
    void describeResult();
    void describeMarkers();
    void readKind();

    const ClientApi& api_;
    isc_db_handle* db_;
    isc_stmt_handle handle_ = 0;
    std::string sql_;
    unsigned short dialect_;  // as the client's calls take it
    StatementKind kind_ = StatementKind::Other;
    Sqlda output_;
    Sqlda input_;
    std::vector<XSQLVAR> markers_;
    std::vector<ds::ColumnDef> columns_;
    ParameterBinding binding_;
    bool cursorOpen_ = false;
};

}  // namespace qor::fbdriver
