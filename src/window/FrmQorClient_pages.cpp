// The empty frames of the three work tabs; each workflow puts its grids and editors in them.
#include <QVBoxLayout>

#include "text/cp950.h"
#include "window/FrmQorClient.h"
#include "window/widget_placing.h"

namespace qor::window {

namespace {

QVBoxLayout* fillLayout(QWidget* owner) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// A grid over a data source, named after its component; `spoken` is what a screen reader
// announces for it.
TDBGrid* makeGrid(WindowDialogs& dialogs, const char* name, ds::DataSource& source,
                  const char* spoken, bool readOnly) {
    auto* grid = new TDBGrid(dialogs);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setDataSource(&source);
    grid->setAccessibleName(QString::fromUtf8(spoken));
    grid->setReadOnly(readOnly);
    return grid;
}

}  // namespace

// Grid above, splitter, editor area (editor panel over the button panel) at the bottom.
void TFormQorClient::buildProductPage() {
    Splitter1 = namedWidget<QSplitter>(TabSheet1, "Splitter1");
    Splitter1->setOrientation(Qt::Vertical);
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    DBGrid1 = makeGrid(dialogs_, "DBGrid1", store().DS_PRODUCT, "商品資料", true);
    Splitter1->addWidget(DBGrid1);

    Panel7 = new Panel(QStringLiteral("Panel7"));
    Splitter1->addWidget(Panel7);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({200, 277});

    Panel8 = new Panel(QStringLiteral("Panel8"), Panel7);
    Panel8->setColor(QColor(255, 255, 128));
    Panel9 = new Panel(QStringLiteral("Panel9"), Panel7);
    Panel9->setColor(QColor(128, 128, 255));
    Panel9->setFixedHeight(30);
    SpeedButton5 = placeButton(Panel9, "SpeedButton5", QOR_BIG5("匯入存檔"), {6, 4, 83, 24});
    SpeedButton6 = placeButton(Panel9, "SpeedButton6", QOR_BIG5("復原編輯"), {94, 4, 80, 24});
    SpeedButton9 = placeButton(Panel9, "SpeedButton9", std::string(), {184, 5, 23, 22});
    SpeedButton9->setAccessibleName(QString::fromUtf8("全部匯入"));  // a blank button
    onClick(SpeedButton5, &TFormQorClient::SpeedButton5Click);
    onClick(SpeedButton6, &TFormQorClient::SpeedButton6Click);
    onClick(SpeedButton9, &TFormQorClient::SpeedButton9Click);
    buildProductEditor();

    auto* editor = fillLayout(Panel7);
    editor->addWidget(Panel8, 1);
    editor->addWidget(Panel9);

    fillLayout(TabSheet1)->addWidget(Splitter1);
}

// Master grid panel on top, item grid panel in the middle, check-and-transfer panel below.
void TFormQorClient::buildPromotionPage() {
    Panel10 = new Panel(QStringLiteral("Panel10"), TabSheet2);
    Panel11 = new Panel(QStringLiteral("Panel11"), Panel10);
    Panel11->setFixedHeight(168);
    DBGrid2 = makeGrid(dialogs_, "DBGrid2", store().DS_PSaleMaster, "販促主檔", false);
    fillLayout(Panel11)->addWidget(DBGrid2);
    Panel12 = new Panel(QStringLiteral("Panel12"), Panel10);
    DBGrid3 = makeGrid(dialogs_, "DBGrid3", DS_PSaleSub, "販促品項", false);
    fillLayout(Panel12)->addWidget(DBGrid3);
    Panel13 = new Panel(QStringLiteral("Panel13"), Panel10);
    Panel13->setFixedHeight(122);

    SpeedButton7 = placeButton(Panel13, "SpeedButton7", QOR_BIG5("品項檢查"), {6, 5, 78, 30});
    SpeedButton8 = placeButton(Panel13, "SpeedButton8", QOR_BIG5("資料轉入"), {88, 5, 81, 30});
    SpeedButton8->hide();
    Memo2 = namedWidget<QPlainTextEdit>(Panel13, "Memo2");
    Memo2->setFixedHeight(81);
    auto* bottom = fillLayout(Panel13);
    bottom->addStretch(1);
    bottom->addWidget(Memo2);

    auto* stack = fillLayout(Panel10);
    stack->addWidget(Panel11);
    stack->addWidget(Panel12, 1);
    stack->addWidget(Panel13);
    fillLayout(TabSheet2)->addWidget(Panel10);
}

// Supplier grid panel above, search panel at the bottom.
void TFormQorClient::buildSupplierPage() {
    Panel14 = new Panel(QStringLiteral("Panel14"), TabSheet3);
    Panel14->setCaption(QStringLiteral("Panel14"));  // covered by the grid
    DBGrid4 = makeGrid(dialogs_, "DBGrid4", DS_Fac, "廠商資料", true);
    DBGrid4->setFocusPolicy(Qt::ClickFocus);  // the Tab key passes it by
    fillLayout(Panel14)->addWidget(DBGrid4);
    Panel15 = new Panel(QStringLiteral("Panel15"), TabSheet3);
    Panel15->setFixedHeight(34);
    SearchEdit1 = new TSearchEdit(dialogs_, Panel15);
    SearchEdit1->setObjectName(QStringLiteral("SearchEdit1"));
    SearchEdit1->setGeometry(8, 6, 329, 21);
    SearchEdit1->setDataSource(&DS_Fac);
    SearchEdit1->setText(QStringLiteral("SearchEdit1"));

    auto* stack = fillLayout(TabSheet3);
    stack->addWidget(Panel14, 1);
    stack->addWidget(Panel15);
}

}  // namespace qor::window
