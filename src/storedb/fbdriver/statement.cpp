#include "statement.h"

#include <stdexcept>

#include "blob_io.h"
#include "status.h"

namespace qor::fbdriver {
namespace {

// What isc_dsql_fetch returns once the cursor has no more rows.
constexpr ISC_STATUS kEndOfCursor = 100;

long littleEndian(const char* bytes, int length) {
    unsigned long value = 0;
    for (int i = length - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    // Counts and type codes are never negative; sign only matters for short fields.
    if (length == 2) return static_cast<short>(value);
    if (length == 4) return static_cast<int>(value);
    return static_cast<long>(value);
}

}  // namespace

Statement::Statement(const ClientApi& api, isc_db_handle* db, Transaction& tx, std::string sql,
                     int dialect)
    : api_(api),
      db_(db),
      handle_(api, db),
      sql_(std::move(sql)),
      dialect_(static_cast<unsigned short>(dialect)),
      output_(16),
      input_(16) {
    // A failure from here on drops the handle with it.
    Status status;
    // The length is given when it fits, so the text needs no terminator of its own.
    auto length = static_cast<unsigned short>(sql_.size() < 65536 ? sql_.size() : 0);
    api_.dsql_prepare(status.get(), &tx.handle, handle_.get(), length, sql_.c_str(), dialect_,
                      output_.get());
    check(api_, status);
    describeResult();
    describeMarkers();
    readKind();
}

void Statement::describeResult() {
    if (output_.count() > output_.capacity()) {
        output_.reserve(output_.count());
        Status status;
        api_.dsql_describe(status.get(), handle_.get(), dialect_, output_.get());
        check(api_, status);
    }
    output_.allocateRowBuffers();
    columns_.clear();
    for (int i = 0; i < output_.count(); ++i) columns_.push_back(describeColumn(output_.var(i)));
}

void Statement::describeMarkers() {
    Status status;
    api_.dsql_describe_bind(status.get(), handle_.get(), dialect_, input_.get());
    check(api_, status);
    if (input_.count() > input_.capacity()) {
        input_.reserve(input_.count());
        api_.dsql_describe_bind(status.get(), handle_.get(), dialect_, input_.get());
        check(api_, status);
    }
    markers_.assign(input_.get()->sqlvar, input_.get()->sqlvar + input_.count());
}

std::vector<ds::ColumnDef> Statement::markerColumns() const {
    std::vector<ds::ColumnDef> markers;
    markers.reserve(markers_.size());
    for (const XSQLVAR& marker : markers_) markers.push_back(describeColumn(marker));
    return markers;
}

void Statement::readKind() {
    const char item = isc_info_sql_stmt_type;
    char answer[16] = {};
    Status status;
    api_.dsql_sql_info(status.get(), handle_.get(), 1, &item, sizeof answer, answer);
    check(api_, status);
    long type = 0;
    if (answer[0] == isc_info_sql_stmt_type) {
        int length = static_cast<int>(littleEndian(answer + 1, 2));
        type = littleEndian(answer + 3, length);
    }
    if (type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd)
        kind_ = StatementKind::Select;
    else if (type == isc_info_sql_stmt_exec_procedure && output_.count() > 0)
        kind_ = StatementKind::Procedure;
    else
        kind_ = StatementKind::Other;
}

void Statement::execute(Transaction& tx, const std::vector<ds::Value>& params,
                        ds::Row* procedureRow) {
    if (handle_.dropped()) throw std::runtime_error("The statement is no longer prepared");
    isc_tr_handle* tr = &tx.handle;
    binding_.bind(input_, markers_, params,
                  [&](const std::string& bytes) { return writeBlob(api_, db_, tr, bytes); });
    XSQLDA* in = markers_.empty() ? nullptr : input_.get();
    Status status;
    if (kind_ == StatementKind::Procedure) {
        api_.dsql_execute2(status.get(), tr, handle_.get(), dialect_, in,
                           output_.get());
        check(api_, status);
        if (procedureRow) {
            ReadContext context{&api_, db_, tr, false, -1};
            procedureRow->clear();
            for (int i = 0; i < output_.count(); ++i)
                procedureRow->push_back(readColumn(output_.var(i), context));
        }
        return;
    }
    api_.dsql_execute(status.get(), tr, handle_.get(), dialect_, in);
    check(api_, status);
    cursorOpen_ = kind_ == StatementKind::Select;
    cursorTransaction_ = tx.serial;
}

std::int64_t Statement::affectedRows() {
    const char item = isc_info_sql_records;
    char answer[128] = {};
    Status status;
    api_.dsql_sql_info(status.get(), handle_.get(), 1, &item, sizeof answer, answer);
    check(api_, status);
    if (answer[0] != isc_info_sql_records) return 0;
    std::int64_t total = 0;
    const char* at = answer + 3;
    const char* end = answer + sizeof answer;
    while (at + 3 <= end && *at != isc_info_end) {
        const char tag = at[0];
        const int length = static_cast<int>(littleEndian(at + 1, 2));
        if (at + 3 + length > end) break;
        const long count = littleEndian(at + 3, length);
        if (tag == isc_info_req_insert_count || tag == isc_info_req_update_count ||
            tag == isc_info_req_delete_count)
            total += count;
        at += 3 + length;
    }
    return total;
}

bool Statement::fetch(ds::Row& row, const ReadContext& context) {
    if (!cursorOpen_ || handle_.dropped()) return false;
    Status status;
    ISC_STATUS rc = api_.dsql_fetch(status.get(), handle_.get(), dialect_,
                                    output_.get());
    if (rc == kEndOfCursor) return false;
    check(api_, status);
    row.clear();
    row.reserve(columns_.size());
    for (int i = 0; i < output_.count(); ++i) row.push_back(readColumn(output_.var(i), context));
    return true;
}

void Statement::closeCursor() {
    if (!cursorOpen_) return;
    cursorOpen_ = false;
    handle_.closeCursor();
}

void Statement::transactionEnded(std::uint64_t serial) {
    if (cursorOpen_ && cursorTransaction_ == serial) cursorOpen_ = false;
}

void Statement::drop() {
    handle_.drop();
    cursorOpen_ = false;
}

std::uint64_t Statement::beginUse() {
    inUse_ = true;
    return ++use_;
}

bool Statement::endUse(std::uint64_t use) {
    if (!isCurrentUse(use)) return false;
    closeCursor();
    inUse_ = false;
    return true;
}

}  // namespace qor::fbdriver
