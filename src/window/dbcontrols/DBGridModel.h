#pragma once
// The table a data grid shows: the dataset read on demand, cell by cell, never copied. One
// column per visible field in field order, titled with the field's label; one row per row of
// the dataset in its current order. Cells show the field's display text and edit as typing
// into the field would.
//
// The model keeps only the column list and the row count it last told its views about; it
// catches up in refresh() when the dataset reports a change. Between two refreshes (while
// the dataset's controls are disabled, say) the dataset may hold fewer rows or other fields:
// every read then shows the empty text rather than reaching past them.
#include <QAbstractTableModel>
#include <cstdint>
#include <string>
#include <vector>

#include "dataset/dataset.h"
#include "dataset/datasource.h"
#include "window/window_dialogs.h"

namespace qor::window {

class DBGridModel : public QAbstractTableModel {
public:
    // Reads whatever dataset `link` reaches, when that dataset is open. Errors raised by an
    // edit or a fetch are shown through `dialogs`.
    DBGridModel(const ds::DataLink& link, WindowDialogs& dialogs, QObject* parent = nullptr);

    ds::Dataset* dataset() const;                 // nullptr unless open
    ds::Field* columnField(int column) const;     // nullptr outside the columns
    void setReadOnly(bool on) { readOnly_ = on; }
    bool readOnly() const { return readOnly_; }

    // Catches up with the dataset: a new column list resets the model; otherwise rows are
    // added or removed at the end, every cell is shown anew and every title that changed.
    void refresh();
    void refreshRow(int row);
    void refreshTitle(int column);

    // The one place a typed text reaches a field.
    static void storeTypedText(ds::Field& field, const std::string& text);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Stores the text in the field when the cell is in the dataset's current row (the grid
    // moves there before it opens an editor); false for another row, or when the field
    // refused the text (its error box shown).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Column {
        int position;             // among the dataset's fields
        const ds::Field* field;   // identity only, compared at refresh, never read through
        std::string name;
        bool operator==(const Column&) const = default;
    };
    std::vector<Column> currentColumns() const;
    const std::string& titleOf(int column) const;  // as its field says now
    void syncRowCount();

    const ds::DataLink& link_;
    WindowDialogs& dialogs_;
    std::vector<Column> columns_;
    std::vector<std::string> titles_;  // as last told to the views
    const ds::Dataset* columnsOf_ = nullptr;  // the dataset and field list columns_ is of
    std::uint64_t columnsVersion_ = 0;
    int rows_ = 0;
    bool readOnly_ = false;
};

}  // namespace qor::window
