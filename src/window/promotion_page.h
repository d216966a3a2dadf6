#pragma once
// The promotion tab: the untaken promotions in DBGrid2, the current one's items in DBGrid3
// (both edited in place, in memory only), and below them 品項檢查 with the hidden transfer
// button the item check presses.
#include <QPlainTextEdit>
#include <QPushButton>

#include "dataset/datasource.h"
#include "window/dbcontrols/DBGrid.h"
#include "window/panel.h"
#include "window/window_dialogs.h"

namespace qor::window {

struct PromotionPage {
    // Fills `page` (TabSheet2) over the master list's and the items' data sources.
    PromotionPage(QWidget* page, WindowDialogs& dialogs, ds::DataSource& masters,
                  ds::DataSource& items);

    Panel* Panel10;  // the tab's frame
    Panel* Panel11;  // the master grid's panel
    TDBGrid* DBGrid2;
    Panel* Panel12;  // the item grid's panel
    TDBGrid* DBGrid3;
    Panel* Panel13;             // the item check's panel
    QPushButton* SpeedButton7;  // "品項檢查"
    QPushButton* SpeedButton8;  // "資料轉入": never shown, pressed by the item check
    QPlainTextEdit* Memo2;      // unused
};

}  // namespace qor::window
