#pragma once
// TDBGrid: a grid over the dataset behind a data source. It has no column list of its own:
// one column per visible field, in field order, titled with the field's label. The grid and
// the dataset follow each other: a row the user picks becomes the dataset's current row in
// one move (one afterScroll), and every move of the dataset selects its row here and scrolls
// to it. Opening, closing, reloading and re-sorting show at once; while the dataset's
// controls are disabled the grid stays where it is and catches up when they are enabled.
//
// Read-only, or editing in place (the default): an edit goes through the field as typing
// into it would, puts the dataset into edit state, and is posted by the move to another
// row. Whatever a user action inside the grid raises (an afterScroll handler that fails, a
// value the field refuses, a failed fetch, the title-click handler) is shown as an error box
// through the window's dialogs and goes no further.
//
// Rows are read on demand and never copied; rows the provider has not given yet are fetched
// when the user scrolls down to them. It stays a QTableView, so Qt's table accessibility
// reports its titles, rows and cells.
#include <QFont>
#include <QTableView>
#include <memory>
#include <string>

#include "dataset/dataset.h"
#include "dataset/datasource.h"
#include "window/window_dialogs.h"

namespace qor::window {

class DBGridModel;

class TDBGrid : public QTableView {
    Q_OBJECT

public:
    explicit TDBGrid(WindowDialogs& dialogs, QWidget* parent = nullptr);
    ~TDBGrid() override;

    // Until an accessible name is set, the grid takes its data source's name as one.
    void setDataSource(ds::DataSource* source);
    ds::DataSource* dataSource() const;
    ds::Dataset* dataSet() const;  // the data source's dataset, open or not

    void setReadOnly(bool on);
    bool isReadOnly() const;

    // Columns exist while the dataset is open. Titles are CP950 bytes.
    int columnCount() const;
    ds::Field* columnField(int column) const;  // nullptr outside the columns
    std::string columnTitle(int column) const;
    void setColumnTitle(int column, std::string title);  // sets the field's label

    // The window's font unless set.
    void setTitleFont(const QFont& font);

    // A long walk the program makes itself (thousands of rows listed one after another) is
    // shown once, where it ends: while held, the grid does not follow each new row, value or
    // move, and it catches up at the last release. Opening and closing still show at once.
    // Nestable; GridUpdatesHeld below holds for a scope.
    void holdUpdates();
    void releaseUpdates();

    using QTableView::edit;

signals:
    // A column title was clicked. A handler may raise qor::Error: it is shown as an error box.
    void titleClick(int column);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // Ctrl+End reaches the very last row: every row not fetched yet is fetched first.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Link;
    friend class Link;

    void datasetChanged();
    void recordChanged();
    void userPicked(int row);
    bool bringRowCurrent(int row);
    void followDataset();
    void followLater();
    void applyColumnWidths();
    void applyRowHeight();

    WindowDialogs& dialogs_;
    std::unique_ptr<Link> link_;
    DBGridModel* model_;
    bool moving_ = false;         // the grid itself is moving the dataset
    bool following_ = false;      // the grid is selecting the dataset's row
    bool followPending_ = false;  // the selection has to come back to the dataset's row
    int changedRow_ = -1;         // a row whose cells are to be shown anew at the next turn
    bool rowRefreshQueued_ = false;
    int held_ = 0;                   // holdUpdates() not yet released
    bool missedWhileHeld_ = false;   // a change came while held
};

class GridUpdatesHeld {
public:
    explicit GridUpdatesHeld(TDBGrid& grid) : grid_(grid) { grid_.holdUpdates(); }
    ~GridUpdatesHeld() {
        try {
            grid_.releaseUpdates();
        } catch (...) {
            // a grid that cannot catch up now does at its dataset's next change
        }
    }
    GridUpdatesHeld(const GridUpdatesHeld&) = delete;
    GridUpdatesHeld& operator=(const GridUpdatesHeld&) = delete;

private:
    TDBGrid& grid_;
};

}  // namespace qor::window
