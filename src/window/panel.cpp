#include "window/panel.h"

#include <QPainter>
#include <QPalette>

namespace qor::window {

Panel::Panel(const QString& objectName, QWidget* parent) : QFrame(parent) {
    setObjectName(objectName);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
}

void Panel::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void Panel::setColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

void Panel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (caption_.isEmpty()) return;
    QPainter painter(this);
    painter.drawText(contentsRect(), Qt::AlignCenter, caption_);
}

}  // namespace qor::window
