#include "window/supplier_page.h"

#include "window/page_building.h"

namespace qor::window {

// Supplier grid panel above, search panel at the bottom.
SupplierPage::SupplierPage(QWidget* page, WindowDialogs& dialogs, ds::DataSource& suppliers) {
    Panel14 = new Panel(QStringLiteral("Panel14"), page);
    Panel14->setCaption(QStringLiteral("Panel14"));  // covered by the grid
    DBGrid4 = makeGrid(dialogs, "DBGrid4", suppliers, "廠商資料", true);
    DBGrid4->setFocusPolicy(Qt::ClickFocus);  // the Tab key passes it by
    fillLayout(Panel14)->addWidget(DBGrid4);
    Panel15 = new Panel(QStringLiteral("Panel15"), page);
    Panel15->setFixedHeight(34);
    SearchEdit1 = new TSearchEdit(dialogs, Panel15);
    SearchEdit1->setObjectName(QStringLiteral("SearchEdit1"));
    SearchEdit1->setGeometry(8, 6, 329, 21);
    SearchEdit1->setDataSource(&suppliers);
    SearchEdit1->setText(QStringLiteral("SearchEdit1"));

    auto* stack = fillLayout(page);
    stack->addWidget(Panel14, 1);
    stack->addWidget(Panel15);
}

}  // namespace qor::window
