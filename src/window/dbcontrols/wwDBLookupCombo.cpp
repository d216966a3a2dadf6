#include "window/dbcontrols/wwDBLookupCombo.h"

#include <QAction>
#include <QKeyEvent>
#include <QStyle>

namespace qor::window {

TwwDBLookupCombo::TwwDBLookupCombo(WindowDialogs& dialogs, QWidget* parent)
    : TDBEdit(dialogs, parent), list_(new LookupList(this)) {
    QAction* button = addAction(style()->standardIcon(QStyle::SP_ArrowDown),
                                QLineEdit::TrailingPosition);
    connect(button, &QAction::triggered, this, [this] { dropDown(); });
    list_->onPick = [this](const ds::Value& key) { pick(key); };
}

void TwwDBLookupCombo::setLookupTable(ds::Dataset* table) { table_ = table; }

void TwwDBLookupCombo::setLookupField(std::string fieldName) {
    lookupField_ = std::move(fieldName);
}

void TwwDBLookupCombo::setColumns(std::vector<LookupColumn> columns) {
    columns_ = std::move(columns);
}

bool TwwDBLookupCombo::droppedDown() const { return list_->isVisible(); }

QTableView* TwwDBLookupCombo::listView() const { return list_->view(); }

void TwwDBLookupCombo::closeUp() { list_->hide(); }

void TwwDBLookupCombo::dropDown() {
    if (droppedDown() || !table_ || !binding().canModify()) return;
    setFocus(Qt::OtherFocusReason);
    if (!binding().run([this] { if (beforeDropDown) beforeDropDown(); })) return;
    if (!table_->active() || !field()) return;
    const std::string current = field()->asString();
    if (!binding().run([&] { list_->fill(*table_, columns_, lookupField_, current); })) return;
    list_->popUpUnder(this);
}

void TwwDBLookupCombo::pick(const ds::Value& key) {
    ds::Field* f = field();
    if (f) binding().run([&] { f->setValue(key); });
    loadText();
}

void TwwDBLookupCombo::keyPressEvent(QKeyEvent* event) {
    const bool altArrow = (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) &&
                          (event->modifiers() & Qt::AltModifier);
    if (altArrow || event->key() == Qt::Key_F4) {
        dropDown();
        event->accept();
        return;
    }
    TDBEdit::keyPressEvent(event);
}

}  // namespace qor::window
