#pragma once
// The search edit (unit DBSearch): a single-line edit bound to a field of the dataset behind
// a data source. While it has the focus, every change of its text moves the dataset to the
// first row, in the dataset's order, whose field matches the text (Dataset::locate with the
// search options); a text no row matches leaves the row where it is, without a message, and
// an empty text searches nothing. While it lacks the focus it shows the current row's value
// of the field (the edit text when the field can be modified, the display text otherwise),
// all selected. Without a field (no field name, or the dataset closed) it is empty, focused
// or not. It never writes to the field.
//
// A search that fails (the dataset closed: "<dataset>: Cannot perform this operation on a
// closed dataset"; a text that is no value of a number or date field; a pending edit that
// cannot be posted) shows the error box through the window's dialogs, once per change.
#include <QLineEdit>
#include <string>

#include "dataset/dataset.h"
#include "dataset/datasource.h"
#include "window/window_dialogs.h"

namespace qor::window {

class TCustomSearchEdit : public QLineEdit {
public:
    // Its accessible name is "搜尋" until another is set.
    explicit TCustomSearchEdit(WindowDialogs& dialogs, QWidget* parent = nullptr);

    void setDataSource(ds::DataSource* source);
    ds::DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(std::string fieldName);  // CP950; empty: no field
    const std::string& dataField() const { return link_.fieldName(); }
    ds::Field* field() const { return link_.field(); }

    // Reached by the Tab key (the default), or only by a click.
    void setTabStop(bool on);
    bool tabStop() const;

protected:
    // Case-insensitive and partial-key unless set otherwise.
    void setSearchOptions(ds::LocateOptions options) { options_ = options; }
    ds::LocateOptions searchOptions() const { return options_; }

private:
    void search();
    void showCurrentValue();

    WindowDialogs& dialogs_;
    ds::FieldDataLink link_;
    ds::LocateOptions options_{true, true};
};

class TSearchEdit : public TCustomSearchEdit {
public:
    using TCustomSearchEdit::TCustomSearchEdit;
    using TCustomSearchEdit::searchOptions;
    using TCustomSearchEdit::setSearchOptions;
};

}  // namespace qor::window
