#include "cursors.h"

#include "attachment.h"

namespace qor::fbdriver {

StatementCursor::StatementCursor(std::shared_ptr<Attachment> attachment,
                                 std::shared_ptr<Statement> statement, isc_tr_handle tr)
    : attachment_(std::move(attachment)),
      statement_(std::move(statement)),
      generation_(statement_->generation),
      tr_(tr) {}

StatementCursor::~StatementCursor() { finish(); }

bool StatementCursor::fetch(ds::Row& row) {
    if (done_) return false;
    if (statement_->generation != generation_ || !attachment_->attached() || !statement_->cursorOpen()) {
        finish();
        return false;
    }
    bool got;
    try {
        got = statement_->fetch(row, attachment_->readContext(&tr_));
    } catch (...) {
        finish();
        throw;
    }
    if (!got) finish();
    return got;
}

void StatementCursor::finish() {
    if (done_) return;
    done_ = true;
    attachment_->release(*statement_, generation_);
}

}  // namespace qor::fbdriver
