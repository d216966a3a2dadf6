#pragma once
// Making the window's controls: each named after its component, placed at its absolute
// position inside its parent.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <string>

#include "window/big5_qt.h"

namespace qor::window {

// A control laid out by its parent's layout.
template <typename W>
W* namedWidget(QWidget* parent, const char* name) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <typename W>
W* placeWidget(QWidget* parent, const char* name, const QRect& geometry) {
    auto* widget = namedWidget<W>(parent, name);
    widget->setGeometry(geometry);
    return widget;
}

inline QLabel* placeLabel(QWidget* parent, const char* name, const std::string& caption,
                          const QRect& geometry) {
    auto* label = placeWidget<QLabel>(parent, name, geometry);
    label->setText(toQString(caption));
    return label;
}

// The window's push buttons are pressed with the mouse only and never take the focus.
inline QPushButton* placeButton(QWidget* parent, const char* name, const std::string& caption,
                                const QRect& geometry) {
    auto* button = placeWidget<QPushButton>(parent, name, geometry);
    button->setText(toQString(caption));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

}  // namespace qor::window
