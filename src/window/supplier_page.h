#pragma once
// The supplier tab: the head office's suppliers in DBGrid4 (a title click sorts and points
// the search at the column) over the search edit that finds one as the staff type.
#include "dataset/datasource.h"
#include "window/DBSearch.h"
#include "window/dbcontrols/DBGrid.h"
#include "window/panel.h"
#include "window/window_dialogs.h"

namespace qor::window {

struct SupplierPage {
    // Fills `page` (TabSheet3) over the supplier list's data source.
    SupplierPage(QWidget* page, WindowDialogs& dialogs, ds::DataSource& suppliers);

    Panel* Panel14;  // the grid's panel
    TDBGrid* DBGrid4;  // read-only, skipped by the Tab key
    Panel* Panel15;  // the search edit's panel
    TSearchEdit* SearchEdit1;
};

}  // namespace qor::window
