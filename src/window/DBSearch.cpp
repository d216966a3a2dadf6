#include "window/DBSearch.h"

#include "text/cp950.h"
#include "window/big5_qt.h"
#include "window/handler_boundary.h"

namespace qor::window {

TCustomSearchEdit::TCustomSearchEdit(WindowDialogs& dialogs, QWidget* parent)
    : QLineEdit(parent), dialogs_(dialogs) {
    setAccessibleName(toQString(QOR_BIG5("搜尋")));
    link_.onDataChange = [this] { showCurrentValue(); };
    connect(this, &QLineEdit::textChanged, this, [this] { search(); });
}

void TCustomSearchEdit::setDataSource(ds::DataSource* source) { link_.setDataSource(source); }

void TCustomSearchEdit::setDataField(std::string fieldName) {
    link_.setFieldName(std::move(fieldName));
}

void TCustomSearchEdit::setTabStop(bool on) { setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus); }

bool TCustomSearchEdit::tabStop() const { return focusPolicy() & Qt::TabFocus; }

// Only what the user types searches: text set while the edit lacks the focus never does.
void TCustomSearchEdit::search() {
    if (!hasFocus()) return;
    ds::Dataset* ds = link_.dataSet();
    const std::string typed = fromQString(text());
    if (!ds || typed.empty()) return;
    runHandler(dialogs_, [&] { ds->locate(link_.fieldName(), typed, options_); });
}

void TCustomSearchEdit::showCurrentValue() {
    const ds::Field* f = link_.field();
    if (!f) {
        setText({});
        return;
    }
    if (hasFocus()) return;  // left as the user typed it
    setText(toQString(f->canModify() ? f->editText() : f->displayText()));
    selectAll();
}

}  // namespace qor::window
