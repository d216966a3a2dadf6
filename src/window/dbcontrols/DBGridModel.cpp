#include "window/dbcontrols/DBGridModel.h"

#include "dataset/value_text.h"
#include "window/big5_qt.h"
#include "window/handler_boundary.h"

namespace qor::window {

DBGridModel::DBGridModel(const ds::DataLink& link, WindowDialogs& dialogs, QObject* parent)
    : QAbstractTableModel(parent), link_(link), dialogs_(dialogs) {}

ds::Dataset* DBGridModel::dataset() const {
    ds::Dataset* ds = link_.dataSet();
    return ds && ds->active() ? ds : nullptr;
}

ds::Field* DBGridModel::columnField(int column) const {
    ds::Dataset* ds = dataset();
    if (!ds || column < 0 || column >= int(columns_.size())) return nullptr;
    const int position = columns_[std::size_t(column)].position;
    return position < ds->fieldCount() ? &ds->field(position) : nullptr;
}

std::vector<DBGridModel::Column> DBGridModel::currentColumns() const {
    std::vector<Column> columns;
    ds::Dataset* ds = dataset();
    if (!ds) return columns;
    for (int i = 0; i < ds->fieldCount(); ++i) {
        const ds::Field& f = ds->field(i);
        if (f.visible()) columns.push_back({i, &f, f.fieldName()});
    }
    return columns;
}

void DBGridModel::refresh() {
    // The column list is looked at again only when the dataset's field list changed: a
    // refresh comes with every append and post.
    ds::Dataset* ds = dataset();
    const std::uint64_t version = ds ? ds->fieldsVersion() : 0;
    if (ds != columnsOf_ || version != columnsVersion_) {
        columnsOf_ = ds;
        columnsVersion_ = version;
        std::vector<Column> columns = currentColumns();
        if (columns != columns_) {
            beginResetModel();
            columns_ = std::move(columns);
            titles_.assign(columns_.size(), std::string());
            for (std::size_t c = 0; c < columns_.size(); ++c) titles_[c] = titleOf(int(c));
            rows_ = ds ? ds->rowCount() : 0;
            endResetModel();
            return;
        }
    }
    syncRowCount();
    if (rows_ > 0 && !columns_.empty())
        emit dataChanged(index(0, 0), index(rows_ - 1, int(columns_.size()) - 1));
    // A title told anew makes the header measure every title again: only changed ones are.
    for (std::size_t c = 0; c < columns_.size() && c < titles_.size(); ++c) {
        const std::string& title = titleOf(int(c));
        if (title == titles_[c]) continue;
        titles_[c] = title;
        emit headerDataChanged(Qt::Horizontal, int(c), int(c));
    }
}

const std::string& DBGridModel::titleOf(int column) const {
    static const std::string none;
    const ds::Field* f = columnField(column);
    if (!f) return none;
    const ds::FieldDef& def = f->def();  // the label, or the name when it has none
    return def.displayLabel.empty() ? def.name : def.displayLabel;
}

void DBGridModel::refreshRow(int row) {
    if (row < 0 || row >= rows_ || columns_.empty()) return;
    emit dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
}

void DBGridModel::refreshTitle(int column) {
    if (column < 0 || column >= int(columns_.size())) return;
    if (std::size_t(column) < titles_.size()) titles_[std::size_t(column)] = titleOf(column);
    emit headerDataChanged(Qt::Horizontal, column, column);
}

// Rows only ever come or go at the end: fetched packets, an append, a dropped append.
void DBGridModel::syncRowCount() {
    ds::Dataset* ds = dataset();
    const int now = ds ? ds->rowCount() : 0;
    if (now > rows_) {
        beginInsertRows({}, rows_, now - 1);
        rows_ = now;
        endInsertRows();
    } else if (now < rows_) {
        beginRemoveRows({}, now, rows_ - 1);
        rows_ = now;
        endRemoveRows();
    }
}

void DBGridModel::storeTypedText(ds::Field& field, const std::string& text) {
    field.setText(text);
}

int DBGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DBGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DBGridModel::data(const QModelIndex& index, int role) const {
    const ds::Field* f = index.isValid() ? columnField(index.column()) : nullptr;
    if (!f) return {};
    const ds::Dataset& ds = f->dataset();
    switch (role) {
        case Qt::DisplayRole:
            return toQString(ds.displayTextAt(index.row(), *f));
        case Qt::EditRole:
            return toQString(ds::valueToText(ds.valueAt(index.row(), *f)));
        case Qt::TextAlignmentRole:
            return int((ds::isNumeric(f->kind()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant DBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const ds::Field* f = columnField(section);
        return f ? toQString(f->displayLabel()) : QVariant();
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags DBGridModel::flags(const QModelIndex& index) const {
    const ds::Field* f = index.isValid() ? columnField(index.column()) : nullptr;
    if (!f) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!readOnly_ && f->canModify()) flags |= Qt::ItemIsEditable;
    return flags;
}

bool DBGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    ds::Field* f = columnField(index.column());
    if (f->dataset().currentRow() != index.row()) return false;
    const std::string text = fromQString(value.toString());
    // An editor closed without a change leaves the row as it was.
    if (text == f->editText()) return true;
    bool stored = false;
    runHandler(dialogs_, [&] {
        storeTypedText(*f, text);
        stored = true;
    });
    return stored;
}

bool DBGridModel::canFetchMore(const QModelIndex& parent) const {
    const ds::Dataset* ds = parent.isValid() ? nullptr : dataset();
    return ds && ds->canFetchMore();
}

void DBGridModel::fetchMore(const QModelIndex& parent) {
    ds::Dataset* ds = parent.isValid() ? nullptr : dataset();
    if (!ds) return;
    runHandler(dialogs_, [&] { ds->fetchMore(); });
    syncRowCount();
}

}  // namespace qor::window
