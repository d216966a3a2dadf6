#include "dataset/controls_disabled.h"
#include "window/dbcontrols/lookup_list.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "window/big5_qt.h"

namespace qor::window {

namespace {

constexpr int kVisibleRows = 10;

}  // namespace

LookupList::LookupList(QWidget* owner) : QFrame(owner, Qt::Popup), view_(new QTableView(this)) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(view_);
    view_->setModel(&model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->installEventFilter(this);
    connect(view_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { pick(index.row()); });
}

int LookupList::columnWidth(int characters) const {
    return characters * view_->fontMetrics().averageCharWidth() + 8;
}

void LookupList::fill(ds::Dataset& table, const std::vector<LookupColumn>& columns,
                      const std::string& keyField, const std::string& currentKey) {
    std::vector<ds::Field*> shown;
    for (const LookupColumn& c : columns) shown.push_back(&table.fieldByName(c.fieldName));
    ds::Field& key = table.fieldByName(keyField);

    model_.clear();
    keys_.clear();
    model_.setColumnCount(int(columns.size()));
    QStringList titles;
    for (const LookupColumn& c : columns) titles << toQString(c.title);
    model_.setHorizontalHeaderLabels(titles);
    int current = 0;
    {
        ds::ControlsDisabled quiet(table);
        for (table.first(); !table.eof(); table.next()) {
            QList<QStandardItem*> cells;
            for (ds::Field* f : shown) cells << new QStandardItem(toQString(f->displayText()));
            if (key.asString() == currentKey) current = int(keys_.size());
            keys_.push_back(key.value());
            model_.appendRow(cells);
        }
    }
    for (std::size_t i = 0; i < columns.size(); ++i)
        view_->setColumnWidth(int(i), columnWidth(columns[i].width));
    if (!keys_.empty()) view_->setCurrentIndex(model_.index(current, 0));
}

void LookupList::popUpUnder(QWidget* anchor) {
    int width = 2 * frameWidth() + 2 + view_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < model_.columnCount(); ++c) width += view_->columnWidth(c);
    const int rows = std::clamp(int(keys_.size()), 1, kVisibleRows);
    const int height = view_->horizontalHeader()->sizeHint().height() +
                       rows * view_->verticalHeader()->defaultSectionSize() +
                       2 * frameWidth() + 4;
    setGeometry(QRect(anchor->mapToGlobal(QPoint(0, anchor->height())),
                      QSize(std::max(width, anchor->width()), height)));
    view_->setAccessibleName(anchor->accessibleName());
    show();
    view_->setFocus(Qt::PopupFocusReason);
    if (view_->currentIndex().isValid()) view_->scrollTo(view_->currentIndex());
}

bool LookupList::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view_ || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (view_->currentIndex().isValid()) pick(view_->currentIndex().row());
            return true;
        case Qt::Key_Escape:
        case Qt::Key_F4:
            hide();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (key->modifiers() & Qt::AltModifier) {
                hide();
                return true;
            }
            return false;
        default:
            return false;
    }
}

void LookupList::pick(int row) {
    if (row < 0 || row >= int(keys_.size())) return;
    const ds::Value key = keys_[std::size_t(row)];
    hide();
    if (onPick) onPick(key);
}

}  // namespace qor::window
