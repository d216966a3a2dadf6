#pragma once
// The rows a read statement hands back.
#include <cstdint>
#include <memory>
#include <vector>

#include "storedb/dbx_driver.h"
#include "statement.h"

namespace qor::fbdriver {

class Attachment;

// Reads an open cursor of a prepared statement. The statement is given back to the attachment
// at the end of the rows or when the cursor goes, whichever comes first; after the statement was
// given back (or the attachment closed, or the transaction ended) there are no more rows.
class StatementCursor : public dbx::Cursor {
public:
    // `use` is the statement's use this cursor holds; `tr` the transaction it reads in.
    StatementCursor(std::shared_ptr<Attachment> attachment, std::shared_ptr<Statement> statement,
                    std::uint64_t use, isc_tr_handle tr);
    ~StatementCursor() override;

    const std::vector<ds::ColumnDef>& columns() const override { return statement_->columns(); }
    bool fetch(ds::Row& row) override;

private:
    void finish();

    std::shared_ptr<Attachment> attachment_;
    std::shared_ptr<Statement> statement_;
    std::uint64_t use_;
    isc_tr_handle tr_;
    bool done_ = false;
};

// Rows already in hand: the outputs of a procedure, or none for a statement without a result.
class RowsCursor : public dbx::Cursor {
public:
    RowsCursor(std::vector<ds::ColumnDef> columns, std::vector<ds::Row> rows)
        : columns_(std::move(columns)), rows_(std::move(rows)) {}

    const std::vector<ds::ColumnDef>& columns() const override { return columns_; }
    bool fetch(ds::Row& row) override {
        if (next_ >= rows_.size()) return false;
        row = rows_[next_++];
        return true;
    }

private:
    std::vector<ds::ColumnDef> columns_;
    std::vector<ds::Row> rows_;
    std::size_t next_ = 0;
};

}  // namespace qor::fbdriver
