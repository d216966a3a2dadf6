// Sorting by a click on a column title, on the product grid and the supplier grid. The order
// belongs to the dataset and the mark to the field's label, so both outlive a reload.
#include <string>

#include "text/cp950.h"
#include "window/FrmQorClient.h"

namespace qor::window {

namespace {

const std::string& ascendingMark() { return QOR_BIG5("▲"); }
const std::string& descendingMark() { return QOR_BIG5("▼"); }

}  // namespace

void TFormQorClient::DBGrid1TitleClick(int Column) { sortByTitle(*productPage_->DBGrid1, Column); }

void TFormQorClient::DBGrid4TitleClick(int Column) {
    TDBGrid& grid = *supplierPage_->DBGrid4;
    const ds::Field* field = grid.columnField(Column);
    if (!field) return;
    const std::string fieldName = field->fieldName();
    sortByTitle(grid, Column);
    supplierPage_->SearchEdit1->setDataField(fieldName);
    supplierPage_->SearchEdit1->setFocus();
}

void TFormQorClient::ClearSortMarks(TDBGrid& grid) {
    for (int column = 0; column < grid.columnCount(); ++column) {
        const std::string title = grid.columnTitle(column);
        if (title.starts_with(ascendingMark()) || title.starts_with(descendingMark()))
            grid.setColumnTitle(column, title.substr(ascendingMark().size()));
    }
}

// After an ascending sort on any column the next click sorts descending, otherwise
// ascending. Marks go first: when the pending edit cannot be posted the titles are already
// plain and the order is left as it was.
void TFormQorClient::sortByTitle(TDBGrid& grid, int column) {
    const ds::Field* field = grid.columnField(column);
    if (!field) return;
    const std::string fieldName = field->fieldName();
    ds::Dataset& data = field->dataset();
    ClearSortMarks(grid);

    if (!data.indexFieldNames().empty()) {
        const std::string orderName = "i" + fieldName;
        if (!data.hasIndex(orderName)) data.addIndex(orderName, fieldName, fieldName);
        data.setIndexName(orderName);  // clears the field-name order
        grid.setColumnTitle(column, descendingMark() + grid.columnTitle(column));
    } else {
        data.setIndexFieldNames(fieldName);  // clears the named order
        grid.setColumnTitle(column, ascendingMark() + grid.columnTitle(column));
    }
}

}  // namespace qor::window
