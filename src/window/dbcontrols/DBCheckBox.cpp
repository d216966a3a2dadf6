#include "window/dbcontrols/DBCheckBox.h"

#include "text/cp950.h"
#include "window/dbcontrols/paced_refresh.h"
#include "window/big5_qt.h"

namespace qor::window {

TDBCheckBox::TDBCheckBox(WindowDialogs& dialogs, QWidget* parent)
    : QCheckBox(parent), binding_(dialogs) {
    setTristate(true);
    ds::FieldDataLink& link = binding_.link();
    // A row the work lists field by field is shown at the work's next display update.
    link.onDataChange = [this] {
        if (loadPending_) return;
        loadPending_ = paced_refresh::whileHeld(this, [this] { loadState(); });
        if (!loadPending_) loadState();
    };
    link.onFocusControl = [this] { setFocus(Qt::OtherFocusReason); };
    loadState();
}

void TDBCheckBox::setDataSource(ds::DataSource* source) { binding_.link().setDataSource(source); }

void TDBCheckBox::setDataField(std::string fieldName) {
    binding_.link().setFieldName(std::move(fieldName));
}

void TDBCheckBox::setCaption(const std::string& caption) {
    setText(toQString(caption));
    setAccessibleName(toQString(caption));
}

void TDBCheckBox::setValueChecked(std::string value) {
    checked_ = std::move(value);
    loadState();
}

void TDBCheckBox::setValueUnchecked(std::string value) {
    unchecked_ = std::move(value);
    loadState();
}

void TDBCheckBox::loadState() {
    loadPending_ = false;
    const ds::Field* f = field();
    Qt::CheckState state = Qt::Unchecked;
    if (f) {
        state = Qt::PartiallyChecked;
        const std::string text = text::upperAscii(f->asString());
        if (f->isNull()) state = Qt::PartiallyChecked;
        else if (text == text::upperAscii(checked_)) state = Qt::Checked;
        else if (text == text::upperAscii(unchecked_)) state = Qt::Unchecked;
    }
    if (state != checkState()) setCheckState(state);  // no repaint for the same state
}

// The box shows what the field holds after the click, whether the field took the value or not.
void TDBCheckBox::nextCheckState() {
    ds::Field* f = field();
    if (binding_.canModify()) {
        const std::string& value = checkState() == Qt::Checked ? unchecked_ : checked_;
        binding_.run([&] { f->setText(value); });
    }
    loadState();
}

}  // namespace qor::window
