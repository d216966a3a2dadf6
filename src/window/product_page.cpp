#include "window/product_page.h"

#include "text/cp950.h"
#include "window/page_building.h"
#include "window/widget_placing.h"

namespace qor::window {

namespace {

QSplitter* makeSplitter(QWidget* page) {
    auto* splitter = namedWidget<QSplitter>(page, "Splitter1");
    splitter->setOrientation(Qt::Vertical);
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    return splitter;
}

}  // namespace

ImportBar::ImportBar(QWidget* area) {
    Panel9 = new Panel(QStringLiteral("Panel9"), area);
    Panel9->setColor(QColor(128, 128, 255));
    Panel9->setFixedHeight(30);
    SpeedButton5 = placeButton(Panel9, "SpeedButton5", QOR_BIG5("匯入存檔"), {6, 4, 83, 24});
    SpeedButton6 = placeButton(Panel9, "SpeedButton6", QOR_BIG5("復原編輯"), {94, 4, 80, 24});
    SpeedButton9 = placeButton(Panel9, "SpeedButton9", std::string(), {184, 5, 23, 22});
    SpeedButton9->setAccessibleName(QString::fromUtf8("全部匯入"));  // a blank button
}

// Grid above, splitter, editor area (editor panel over the button panel) at the bottom.
ProductPage::ProductPage(QWidget* page, WindowDialogs& dialogs, storedb::StoreObjects& store)
    : Splitter1(makeSplitter(page)),
      DBGrid1(makeGrid(dialogs, "DBGrid1", store.DS_PRODUCT, "商品資料", true)),
      Panel7(new Panel(QStringLiteral("Panel7"))),
      editor(Panel7, dialogs, store),
      importBar(Panel7) {
    Splitter1->addWidget(DBGrid1);
    Splitter1->addWidget(Panel7);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({200, 277});

    auto* area = fillLayout(Panel7);
    area->addWidget(editor.Panel8, 1);
    area->addWidget(importBar.Panel9);

    fillLayout(page)->addWidget(Splitter1);
}

}  // namespace qor::window
