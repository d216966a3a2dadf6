#pragma once
// What the work tabs' pages are built from: panels filled top to bottom, and grids.
#include <QVBoxLayout>

#include "dataset/datasource.h"
#include "window/dbcontrols/DBGrid.h"
#include "window/window_dialogs.h"

namespace qor::window {

// A layout that stacks `owner`'s children edge to edge.
inline QVBoxLayout* fillLayout(QWidget* owner) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// A grid over a data source, named after its component; `spoken` (UTF-8) is what a screen
// reader announces for it.
inline TDBGrid* makeGrid(WindowDialogs& dialogs, const char* name, ds::DataSource& source,
                         const char* spoken, bool readOnly) {
    auto* grid = new TDBGrid(dialogs);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setDataSource(&source);
    grid->setAccessibleName(QString::fromUtf8(spoken));
    grid->setReadOnly(readOnly);
    return grid;
}

}  // namespace qor::window
