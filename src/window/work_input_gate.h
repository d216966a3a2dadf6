#pragma once
// What the window lets through while long work runs and its events are handled: input only
// for the progress display (the window is as good as modal from the work's first moment, not
// only once the display shows), and its own repaint only when the work brings the display up
// to date, so that a window whose editor follows every listed row is not repainted at every
// turn of the event loop.
#include <QObject>

class QWidget;

namespace qor::window {

class WorkInputGate : public QObject {
public:
    // Watches every event of the program from now on; `window` is the main window.
    explicit WorkInputGate(QWidget& window);
    ~WorkInputGate() override;

    // While paint is held, the window's repaint requests wait; releasing it lets a waiting
    // one through at the next turn of the event loop.
    void holdPaint(bool held);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    bool paintHeld_ = false;
    bool paintWaiting_ = false;
};

}  // namespace qor::window
