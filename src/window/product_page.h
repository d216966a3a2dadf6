#pragma once
// The product tab: the listed products in DBGrid1 above the splitter, and below it the editor
// area (Panel7): the product editor (Panel8) over the import bar (Panel9), whose buttons the
// import controls enable and disable.
#include <QPushButton>
#include <QSplitter>

#include "storedb/store_objects.h"
#include "window/dbcontrols/DBGrid.h"
#include "window/panel.h"
#include "window/product_editor.h"
#include "window/window_dialogs.h"

namespace qor::window {

struct ImportBar {
    explicit ImportBar(QWidget* area);

    Panel* Panel9;
    QPushButton* SpeedButton5;  // "匯入存檔": imports the current product
    QPushButton* SpeedButton6;  // "復原編輯": drops the row's changes
    QPushButton* SpeedButton9;  // no caption: imports every product
};

struct ProductPage {
    // Fills `page` (TabSheet1); the grid and the editor show the store's DS_PRODUCT.
    ProductPage(QWidget* page, WindowDialogs& dialogs, storedb::StoreObjects& store);

    QSplitter* Splitter1;
    TDBGrid* DBGrid1;  // the listed products, read-only; a title click sorts
    Panel* Panel7;     // the editor area
    ProductEditor editor;
    ImportBar importBar;
};

}  // namespace qor::window
