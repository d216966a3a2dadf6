#include "window/dbcontrols/paced_refresh.h"

#include <QPointer>
#include <utility>
#include <vector>

namespace qor::window::paced_refresh {

namespace {

struct Waiting {
    QPointer<QObject> control;
    std::function<void()> refresh;
};

// The interface thread's only.
int held = 0;
std::vector<Waiting> waiting;

}  // namespace

void later(QObject* control, std::function<void()> refresh) {
    if (held == 0) {
        QMetaObject::invokeMethod(control, std::move(refresh), Qt::QueuedConnection);
        return;
    }
    for (Waiting& w : waiting)
        if (w.control == control) {
            w.refresh = std::move(refresh);
            return;
        }
    waiting.push_back({control, std::move(refresh)});
}

void flush() {
    std::vector<Waiting> due = std::exchange(waiting, {});
    for (Waiting& w : due)
        if (w.control) w.refresh();
}

RefreshesHeld::RefreshesHeld() { ++held; }

RefreshesHeld::~RefreshesHeld() {
    if (--held > 0) return;
    try {
        flush();
    } catch (...) {
        // a control that cannot show its value now shows it at its field's next change
    }
}

}  // namespace qor::window::paced_refresh
