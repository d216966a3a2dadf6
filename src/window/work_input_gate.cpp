#include "window/work_input_gate.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "window/progress_display.h"

namespace qor::window {

namespace {

bool isInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
    }
}

bool onProgressDisplay(QObject* watched) {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && dynamic_cast<ProgressDisplay*>(widget->window());
}

}  // namespace

WorkInputGate::WorkInputGate(QWidget& window) : window_(window) {
    qApp->installEventFilter(this);
}

WorkInputGate::~WorkInputGate() {
    qApp->removeEventFilter(this);
    holdPaint(false);
}

void WorkInputGate::holdPaint(bool held) {
    paintHeld_ = held;
    if (!held && paintWaiting_) {
        paintWaiting_ = false;
        QCoreApplication::postEvent(&window_, new QEvent(QEvent::UpdateRequest),
                                    Qt::LowEventPriority);
    }
}

bool WorkInputGate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::UpdateRequest && paintHeld_) {
        paintWaiting_ = true;
        return true;
    }
    // Widgets only: a window's input reaches its widgets through here too.
    if (isInput(event->type()) && watched->isWidgetType() && !onProgressDisplay(watched))
        return true;
    return false;
}

}  // namespace qor::window
