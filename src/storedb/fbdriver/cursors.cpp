#include "cursors.h"

#include "attachment.h"

namespace qor::fbdriver {

StatementCursor::StatementCursor(std::shared_ptr<Attachment> attachment,
                                 std::shared_ptr<Statement> statement, std::uint64_t use,
                                 isc_tr_handle tr)
    : attachment_(std::move(attachment)), statement_(std::move(statement)), use_(use), tr_(tr) {}

StatementCursor::~StatementCursor() { finish(); }

bool StatementCursor::fetch(ds::Row& row) {
    if (done_) return false;
    if (!statement_->isCurrentUse(use_) || !attachment_->attached() || !statement_->cursorOpen()) {
        finish();
        attachment_->throwIfLost();
        return false;
    }
    // The rows end at their last one and at a failed read alike.
    struct FinishUnlessRow {
        StatementCursor& cursor;
        bool gotRow = false;
        ~FinishUnlessRow() {
            if (!gotRow) cursor.finish();
        }
    } guard{*this};
    guard.gotRow =
        attachment_->guarded([&] { return statement_->fetch(row, attachment_->readContext(&tr_)); });
    return guard.gotRow;
}

void StatementCursor::finish() {
    if (done_) return;
    done_ = true;
    attachment_->release(*statement_, use_);
}

}  // namespace qor::fbdriver
