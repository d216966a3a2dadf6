#pragma once
// Every handler the user can start runs inside this boundary: an error ends the action with
// the error box, a silent abort ends it with nothing shown. Nothing escapes into Qt's event
// loop.
#include <exception>
#include <utility>

#include "text/errors.h"
#include "window/window_dialogs.h"

namespace qor::window {

template <typename Handler>
void runHandler(WindowDialogs& dialogs, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const qor::SilentAbort&) {
        // the user has already been told
    } catch (const std::exception& e) {
        dialogs.showError(e.what());
    }
}

}  // namespace qor::window
