#include "window/dbcontrols/DBGrid.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMetaObject>
#include <QScopedValueRollback>
#include <algorithm>
#include <utility>

#include "window/big5_qt.h"
#include "window/dbcontrols/DBGridModel.h"
#include "window/handler_boundary.h"
#include "window/window_font.h"

namespace qor::window {

namespace {

// Typing starts an edit, as do a double click, F2 and a click on the cell already chosen.
constexpr QAbstractItemView::EditTriggers kEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

// A column is as wide as its field's display width, up to this many characters (a 200-byte
// path would otherwise fill several screens), and never narrower than its title.
constexpr int kWidestColumnChars = 64;
constexpr int kCellPadding = 10;

// The title row. Qt's header measures every title again after any change of the cells,
// though cells never change a title: with 96 columns that made every append and post of
// a row cost a measuring of all titles. Titles are measured when they change.
class TitleHeader : public QHeaderView {
public:
    explicit TitleHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
        setHighlightSections(true);  // as the table view's own header
    }

protected:
    void dataChanged(const QModelIndex&, const QModelIndex&, const QList<int>&) override {}
};

}  // namespace

// The grid's ear on the data source.
class TDBGrid::Link : public ds::DataLink {
public:
    explicit Link(TDBGrid& grid) : grid_(grid) {}

protected:
    // Opening and closing change the columns: shown at once, held or not.
    void activeChanged() override { grid_.datasetChanged(); }
    void dataChanged(ds::Field* field) override {
        if (grid_.held_ > 0)
            grid_.missedWhileHeld_ = true;
        else if (field)
            grid_.recordChanged();
        else
            grid_.datasetChanged();
    }

private:
    TDBGrid& grid_;
};

TDBGrid::TDBGrid(WindowDialogs& dialogs, QWidget* parent)
    : QTableView(parent),
      dialogs_(dialogs),
      link_(std::make_unique<Link>(*this)),
      model_(new DBGridModel(*link_, dialogs, this)) {
    setHorizontalHeader(new TitleHeader(this));
    setModel(model_);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setEditTriggers(kEditTriggers);
    setTabKeyNavigation(false);  // Tab leaves the grid
    setWordWrap(false);

    // Every row one height and nothing measured per row: 20,000 rows open like 100.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    applyRowHeight();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setFont(windowFont());

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!following_ && current.isValid()) userPicked(current.row());
            });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { runHandler(dialogs_, [&] { emit titleClick(column); }); });
    connect(model_, &QAbstractItemModel::modelReset, this, &TDBGrid::applyColumnWidths);
}

// The model reads through the link: it goes first, so nothing reads through a link that is gone.
TDBGrid::~TDBGrid() { delete model_; }

void TDBGrid::setDataSource(ds::DataSource* source) {
    if (source && accessibleName().isEmpty()) setAccessibleName(toQString(source->name()));
    link_->setDataSource(source);
}

ds::DataSource* TDBGrid::dataSource() const { return link_->dataSource(); }
ds::Dataset* TDBGrid::dataSet() const { return link_->dataSet(); }

void TDBGrid::setReadOnly(bool on) {
    model_->setReadOnly(on);
    setEditTriggers(on ? NoEditTriggers : kEditTriggers);
}

bool TDBGrid::isReadOnly() const { return model_->readOnly(); }

int TDBGrid::columnCount() const { return model_->columnCount(); }
ds::Field* TDBGrid::columnField(int column) const { return model_->columnField(column); }

std::string TDBGrid::columnTitle(int column) const {
    const ds::Field* f = model_->columnField(column);
    return f ? f->displayLabel() : std::string();
}

void TDBGrid::setColumnTitle(int column, std::string title) {
    ds::Field* f = model_->columnField(column);
    if (!f) return;
    f->setDisplayLabel(std::move(title));
    model_->refreshTitle(column);
}

void TDBGrid::setTitleFont(const QFont& font) { horizontalHeader()->setFont(font); }

// ---------------------------------------------------------------- following the dataset

void TDBGrid::holdUpdates() { ++held_; }

void TDBGrid::releaseUpdates() {
    if (held_ == 0 || --held_ > 0) return;
    if (std::exchange(missedWhileHeld_, false)) datasetChanged();
}

void TDBGrid::datasetChanged() {
    changedRow_ = -1;  // every cell is shown anew now
    // Rows going away make Qt move the grid's current cell by itself: that is no pick of
    // the user's, the grid takes the dataset's row instead.
    {
        const QScopedValueRollback<bool> catchingUp(following_, true);
        model_->refresh();
    }
    // A move the grid makes itself is followed once it is over.
    if (!moving_) followDataset();
}

// A row filled field by field is shown anew once, at the next turn of the event loop; the
// cells read the dataset whenever they are painted, so nothing shows a stale value.
void TDBGrid::recordChanged() {
    const ds::Dataset* ds = model_->dataset();
    if (!ds) return;
    const int row = ds->currentRow();
    if (row == changedRow_) return;
    if (changedRow_ >= 0) model_->refreshRow(changedRow_);  // another row before the turn: now
    changedRow_ = row;
    if (rowRefreshQueued_) return;
    rowRefreshQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            rowRefreshQueued_ = false;
            if (changedRow_ >= 0) model_->refreshRow(std::exchange(changedRow_, -1));
        },
        Qt::QueuedConnection);
}

// Selects the dataset's current row, in the column chosen so far, and scrolls to it.
void TDBGrid::followDataset() {
    followPending_ = false;
    const ds::Dataset* ds = model_->dataset();
    const int row = ds ? ds->currentRow() : -1;
    QModelIndex target;
    if (row >= 0 && row < model_->rowCount() && model_->columnCount() > 0) {
        const int column = std::clamp(currentIndex().column(), 0, model_->columnCount() - 1);
        target = model_->index(row, column);
    }
    // Already there (a post, a change of values): nothing to select or scroll to.
    if (target.isValid() && target == currentIndex() && selectionModel()->isSelected(target))
        return;
    const QScopedValueRollback<bool> selecting(following_, true);
    if (target.isValid()) {
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        // Scrolling lays the rows out first; a hidden grid scrolls to its row when shown.
        if (isVisible()) scrollTo(target);
    } else {
        selectionModel()->clear();
    }
}

// Inside Qt's own handling of a click or a key the selection is not to be changed under it:
// the grid comes back to the dataset's row once that handling is over.
void TDBGrid::followLater() {
    if (followPending_) return;
    followPending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { if (followPending_) followDataset(); }, Qt::QueuedConnection);
}

// ---------------------------------------------------------------- the user moving

void TDBGrid::userPicked(int row) {
    ds::Dataset* ds = model_->dataset();
    if (!ds || row == ds->currentRow()) return;
    if (moving_) {  // picked again while the last move still runs its handlers
        followLater();
        return;
    }
    moving_ = true;
    runHandler(dialogs_, [&] {
        if (row < ds->rowCount()) ds->moveTo(row);
    });
    moving_ = false;
    // The move may have failed (a row that could not be posted) or landed elsewhere (the
    // posted row re-sorted); either way the grid shows where the dataset is.
    ds = model_->dataset();
    if (!ds || ds->currentRow() != currentIndex().row()) followLater();
}

bool TDBGrid::bringRowCurrent(int row) {
    userPicked(row);
    const ds::Dataset* ds = model_->dataset();
    return ds && ds->currentRow() == row;
}

bool TDBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool opening = state() != EditingState && index.isValid() &&
                         (model_->flags(index) & Qt::ItemIsEditable) &&
                         (trigger == AllEditTriggers || (editTriggers() & trigger));
    // An editor opens only on the dataset's current row.
    if (opening && !bringRowCurrent(index.row())) return false;
    const bool result = QTableView::edit(index, trigger, event);
    if (opening && result && state() == EditingState) {
        if (ds::Dataset* ds = model_->dataset()) runHandler(dialogs_, [&] { ds->edit(); });
    }
    return result;
}

QModelIndex TDBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (action == MoveEnd && (modifiers & Qt::ControlModifier)) {
        while (model_->canFetchMore({})) {
            const int before = model_->rowCount();
            model_->fetchMore({});
            if (model_->rowCount() == before) break;  // the fetch failed (and said so)
        }
    }
    return QTableView::moveCursor(action, modifiers);
}

void TDBGrid::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (followPending_) followDataset();
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    QTableView::keyPressEvent(event);
    if (followPending_) followDataset();
}

// ---------------------------------------------------------------- looks

void TDBGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) applyRowHeight();
}

void TDBGrid::applyRowHeight() {
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void TDBGrid::applyColumnWidths() {
    const QFontMetrics cells(font());
    const QFontMetrics titles(horizontalHeader()->font());
    for (int c = 0; c < model_->columnCount(); ++c) {
        const ds::Field* f = model_->columnField(c);
        if (!f) continue;
        const int chars = std::min(f->displayWidth(), kWidestColumnChars);
        const int width = std::max(chars * cells.averageCharWidth(),
                                   titles.horizontalAdvance(toQString(f->displayLabel())));
        horizontalHeader()->resizeSection(c, width + kCellPadding);
    }
}

}  // namespace qor::window
