#include "window/dbcontrols/DBEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPalette>

#include "window/big5_qt.h"
#include "window/dbcontrols/cp950_text_validator.h"
#include "window/dbcontrols/paced_refresh.h"

namespace qor::window {

namespace {

bool isText(ds::FieldKind kind) {
    return kind == ds::FieldKind::String || kind == ds::FieldKind::Memo;
}

// Focus that leaves for another window or a popup list comes back unchanged: nothing is
// stored and the typed text stays.
bool leavesTheWindowOnly(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

bool editing(const ds::Dataset& dataset) {
    return dataset.state() == ds::DataSetState::Edit ||
           dataset.state() == ds::DataSetState::Insert;
}

}  // namespace

TDBEdit::TDBEdit(WindowDialogs& dialogs, QWidget* parent)
    : QLineEdit(parent), binding_(dialogs), validator_(new Cp950TextValidator(this)) {
    ds::FieldDataLink& link = binding_.link();
    link.onActiveChange = [this] { followField(); };
    link.onDataChange = [this] { fieldChanged(); };
    link.onFocusControl = [this] { setFocus(Qt::OtherFocusReason); };
    link.onUpdateData = [this] { updateData(); };
    connect(this, &QLineEdit::textEdited, this, [this] { userEdited(); });
    followField();
}

void TDBEdit::setDataSource(ds::DataSource* source) { binding_.link().setDataSource(source); }

void TDBEdit::setDataField(std::string fieldName) {
    binding_.link().setFieldName(std::move(fieldName));
}

void TDBEdit::setNameBox(const QColor& color) {
    nameBox_ = true;
    setFocusPolicy(Qt::ClickFocus);
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
    followField();
}

void TDBEdit::followField() {
    const ds::Field* f = field();
    setReadOnly(nameBox_ || !binding_.canModify());
    setAlignment(f && ds::isNumeric(f->kind()) ? Qt::AlignRight : Qt::AlignLeft);
    if (f && isText(f->kind())) {
        validator_->setMaxBytes(f->kind() == ds::FieldKind::String ? f->size() : 0);
        setValidator(validator_);
    } else {
        setValidator(nullptr);
    }
}

void TDBEdit::fieldChanged() {
    modified_ = false;
    if (loadPending_) return;  // queued while unfocused; taking the focus loads it first
    if (QApplication::focusWidget() == this) {
        loadText();
        return;
    }
    loadPending_ = true;
    paced_refresh::later(this, [this] { if (loadPending_) loadText(); });
}

void TDBEdit::loadText() {
    loadPending_ = false;
    const ds::Field* f = field();
    std::string text;
    if (f) text = hasFocus() ? f->editText() : f->displayText();
    modified_ = false;
    const QString shown = toQString(text);
    if (shown != QLineEdit::text()) setText(shown);
}

void TDBEdit::userEdited() {
    if (modified_) return;  // the edit was started at the first change
    ds::Field* f = field();
    if (!f) return;
    const QString typed = text();
    const int cursor = cursorPosition();
    // Starting the edit may show the row anew (an empty dataset appends one): the typed
    // text is put back afterwards.
    const bool started = binding_.run([f] { f->dataset().edit(); });
    if (!started || !field() || !editing(field()->dataset())) {
        loadText();
        return;
    }
    if (text() != typed) {
        setText(typed);
        setCursorPosition(cursor);
    }
    modified_ = true;
}

bool TDBEdit::storeText() {
    if (!modified_) return true;
    return binding_.run([this] { updateData(); });
}

void TDBEdit::updateData() {
    if (!modified_) return;
    if (ds::Field* f = field()) f->setText(fromQString(text()));
    loadText();
}

void TDBEdit::focusInEvent(QFocusEvent* event) {
    if (!modified_) loadText();
    QLineEdit::focusInEvent(event);
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (leavesTheWindowOnly(event->reason())) return;
    if (storeText()) {
        loadText();
        return;
    }
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void TDBEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (storeText()) loadText();
            else selectAll();
            event->accept();
            return;
        case Qt::Key_Escape:
            if (modified_) {
                loadText();
                selectAll();
                event->accept();
                return;
            }
            break;
        default:
            break;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace qor::window
