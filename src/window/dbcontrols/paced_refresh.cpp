#include "window/dbcontrols/paced_refresh.h"

#include <QPointer>
#include <exception>
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

bool whileHeld(QObject* control, std::function<void()> refresh) {
    if (held == 0) return false;
    later(control, std::move(refresh));
    return true;
}

// Every control gets its refresh though one of them fails: a control whose refresh never
// ran would wait for it ever after. The first failure is then passed on.
void flush() {
    std::vector<Waiting> due = std::exchange(waiting, {});
    std::exception_ptr failed;
    for (Waiting& w : due) {
        if (!w.control) continue;
        try {
            w.refresh();
        } catch (...) {
            if (!failed) failed = std::current_exception();
        }
    }
    if (failed) std::rethrow_exception(failed);
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
