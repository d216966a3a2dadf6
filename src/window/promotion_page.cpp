#include "window/promotion_page.h"

#include "text/cp950.h"
#include "window/page_building.h"
#include "window/widget_placing.h"

namespace qor::window {

// Master grid panel on top, item grid panel in the middle, check-and-transfer panel below.
PromotionPage::PromotionPage(QWidget* page, WindowDialogs& dialogs, ds::DataSource& masters,
                             ds::DataSource& items) {
    Panel10 = new Panel(QStringLiteral("Panel10"), page);
    Panel11 = new Panel(QStringLiteral("Panel11"), Panel10);
    Panel11->setFixedHeight(168);
    DBGrid2 = makeGrid(dialogs, "DBGrid2", masters, "販促主檔", false);
    fillLayout(Panel11)->addWidget(DBGrid2);
    Panel12 = new Panel(QStringLiteral("Panel12"), Panel10);
    DBGrid3 = makeGrid(dialogs, "DBGrid3", items, "販促品項", false);
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
    fillLayout(page)->addWidget(Panel10);
}

}  // namespace qor::window
