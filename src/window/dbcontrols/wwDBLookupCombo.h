#pragma once
// TwwDBLookupCombo: an edit bound to a code field, with a drop-down button that lists the rows
// of a lookup dataset. Picking a row stores the row's key column into the field through the
// field, so the field's validation runs. The list opens from the button, Alt+Down or F4 only,
// never while the user types; typed text is stored on leaving, as in TDBEdit.
#include <functional>
#include <string>
#include <vector>

#include "dataset/dataset.h"
#include "window/dbcontrols/DBEdit.h"
#include "window/dbcontrols/lookup_list.h"

class QTableView;

namespace qor::window {

class TwwDBLookupCombo : public TDBEdit {
public:
    explicit TwwDBLookupCombo(WindowDialogs& dialogs, QWidget* parent = nullptr);

    void setLookupTable(ds::Dataset* table);
    void setLookupField(std::string fieldName);  // the key column stored into the field
    void setColumns(std::vector<LookupColumn> columns);

    // Runs every time the list is about to open (the window opens the lookup dataset there).
    // What it raises is shown in the error box and the list stays closed.
    std::function<void()> beforeDropDown;

    // Opens the list, when the field can take a value and the lookup dataset is open after
    // beforeDropDown.
    void dropDown();
    void closeUp();
    bool droppedDown() const;
    QTableView* listView() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void pick(const ds::Value& key);

    LookupList* list_;
    ds::Dataset* table_ = nullptr;
    std::string lookupField_;
    std::vector<LookupColumn> columns_;
};

}  // namespace qor::window
