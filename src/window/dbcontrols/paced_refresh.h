#pragma once
// A control's refresh run at the next turn of the event loop, so that a row filled field by
// field is shown once. While long work holds refreshes (WorkDisplay, for as long as the work
// runs), they wait instead for the work's next display update, ten times a second: an editor
// following every row the work lists is not redrawn at every turn the work lets the window
// take. A control has one refresh waiting at most; one that is gone by then is passed over.
#include <QObject>
#include <functional>

namespace qor::window::paced_refresh {

// Runs `refresh` for `control` at the next turn of the event loop, or at the next flush while
// refreshes are held.
void later(QObject* control, std::function<void()> refresh);

// While refreshes are held: waits with `refresh` as `later` does, and true. Otherwise false,
// and the control refreshes at once itself, as a control the staff are using does.
bool whileHeld(QObject* control, std::function<void()> refresh);

// Held while any RefreshesHeld lives.
class RefreshesHeld {
public:
    RefreshesHeld();
    ~RefreshesHeld();  // the last one runs what waits
    RefreshesHeld(const RefreshesHeld&) = delete;
    RefreshesHeld& operator=(const RefreshesHeld&) = delete;
};

// Runs every refresh that waits, now.
void flush();

}  // namespace qor::window::paced_refresh
