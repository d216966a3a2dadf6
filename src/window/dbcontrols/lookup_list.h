#pragma once
// The list a lookup combo drops down: a popup table of its lookup dataset's rows, with titled
// columns. Arrows move, Enter or a click picks a row, Esc (or a click outside) closes it.
#include <QFrame>
#include <QStandardItemModel>
#include <functional>
#include <string>
#include <vector>

#include "dataset/dataset.h"

class QTableView;

namespace qor::window {

struct LookupColumn {
    std::string fieldName;
    int width = 10;     // characters
    std::string title;  // code page 950
};

class LookupList : public QFrame {
public:
    // A popup window owned by `owner`.
    explicit LookupList(QWidget* owner);

    // Takes the rows of `table` (walked from its first row; it must be open), the current row
    // on the one whose key text is `currentKey`. Fails like Dataset::fieldByName for a column
    // the table lacks.
    void fill(ds::Dataset& table, const std::vector<LookupColumn>& columns,
              const std::string& keyField, const std::string& currentKey);
    // Shows the list under `anchor`, at least as wide as it, the keyboard in the list.
    void popUpUnder(QWidget* anchor);

    QTableView* view() const { return view_; }
    // The key of the row picked; the list has closed by then.
    std::function<void(const ds::Value& key)> onPick;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pick(int row);
    int columnWidth(int characters) const;

    QTableView* view_;
    QStandardItemModel model_;
    std::vector<ds::Value> keys_;
};

}  // namespace qor::window
