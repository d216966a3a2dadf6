#include "window/dbcontrols/DBRadioGroup.h"

#include <QGridLayout>

#include "window/big5_qt.h"
#include "window/dbcontrols/paced_refresh.h"

namespace qor::window {

TDBRadioGroup::TDBRadioGroup(WindowDialogs& dialogs, QWidget* parent)
    : QGroupBox(parent), binding_(dialogs), group_(this), grid_(new QGridLayout(this)) {
    // The groups are narrow (three buttons in 112 pixels): little room is spent around them.
    grid_->setContentsMargins(3, 2, 3, 2);
    grid_->setSpacing(0);
    ds::FieldDataLink& link = binding_.link();
    // A row the work lists field by field is shown at the work's next display update.
    link.onDataChange = [this] {
        if (loadPending_) return;
        loadPending_ = paced_refresh::whileHeld(this, [this] { loadSelection(); });
        if (!loadPending_) loadSelection();
    };
    link.onFocusControl = [this] {
        QAbstractButton* target = group_.checkedButton();
        if (!target && !items_.empty()) target = button(0);
        if (target) target->setFocus(Qt::OtherFocusReason);
    };
    connect(&group_, &QButtonGroup::idClicked, this, [this](int id) { choose(id); });
}

void TDBRadioGroup::setDataSource(ds::DataSource* source) {
    binding_.link().setDataSource(source);
}

void TDBRadioGroup::setDataField(std::string fieldName) {
    binding_.link().setFieldName(std::move(fieldName));
}

void TDBRadioGroup::setCaption(const std::string& caption) {
    setTitle(toQString(caption));
    setAccessibleName(toQString(caption));
}

void TDBRadioGroup::setColumns(int columns) {
    columns_ = columns < 1 ? 1 : columns;
    layOutButtons();
}

void TDBRadioGroup::setItems(std::vector<RadioItem> items) {
    for (QAbstractButton* old : group_.buttons()) {
        group_.removeButton(old);
        delete old;
    }
    items_ = std::move(items);
    for (int i = 0; i < count(); ++i) {
        auto* b = new QRadioButton(toQString(items_[std::size_t(i)].caption), this);
        b->setStyleSheet(QStringLiteral("QRadioButton { spacing: 2px; }"));  // "皆可" fits
        group_.addButton(b, i);
    }
    layOutButtons();
    loadSelection();
}

QRadioButton* TDBRadioGroup::button(int index) const {
    return static_cast<QRadioButton*>(group_.button(index));
}

int TDBRadioGroup::itemIndex() const { return group_.checkedId(); }

void TDBRadioGroup::layOutButtons() {
    const int rows = (count() + columns_ - 1) / columns_;
    for (int i = 0; i < count(); ++i) {
        grid_->removeWidget(button(i));
        grid_->addWidget(button(i), i % rows, i / rows);
    }
}

void TDBRadioGroup::loadSelection() {
    loadPending_ = false;
    int selected = -1;
    if (const ds::Field* f = field()) {
        const std::string text = f->asString();
        for (int i = 0; i < count() && selected < 0; ++i)
            if (items_[std::size_t(i)].value == text) selected = i;
    }
    if (selected == itemIndex()) return;  // no repaint for the same choice
    if (selected >= 0) {
        button(selected)->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; it lets go only while not exclusive.
    group_.setExclusive(false);
    for (QAbstractButton* b : group_.buttons()) b->setChecked(false);
    group_.setExclusive(true);
}

// The buttons show what the field holds afterwards, whether it took the value or not.
void TDBRadioGroup::choose(int index) {
    ds::Field* f = field();
    if (binding_.canModify())
        binding_.run([&] { f->setText(items_[std::size_t(index)].value); });
    loadSelection();
}

}  // namespace qor::window
