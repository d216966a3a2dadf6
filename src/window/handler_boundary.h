#pragma once
// Every handler the user can start runs inside this boundary: an error ends the action with
// the error box, a silent abort ends it with nothing shown. Nothing escapes into Qt's event
// loop.
//
// While long work lets the window handle its events (its progress display, WorkDisplay), a
// HandlersRefused is alive and no handler starts: whatever gets through then (a queued
// click, a control giving up the focus) is dropped, so nothing the user can start runs in
// the middle of the work or twice at once.
#include <exception>
#include <utility>

#include "text/errors.h"
#include "window/window_dialogs.h"

namespace qor::window {

class HandlersRefused {
public:
    HandlersRefused() { ++depth_; }
    ~HandlersRefused() { --depth_; }
    HandlersRefused(const HandlersRefused&) = delete;
    HandlersRefused& operator=(const HandlersRefused&) = delete;

    static bool now() { return depth_ > 0; }

private:
    static inline int depth_ = 0;  // the interface thread's only
};

template <typename Handler>
void runHandler(WindowDialogs& dialogs, Handler&& handler) {
    if (HandlersRefused::now()) return;
    try {
        std::forward<Handler>(handler)();
    } catch (const qor::SilentAbort&) {
        // the user has already been told
    } catch (const std::exception& e) {
        dialogs.showError(e.what());
    }
}

}  // namespace qor::window
