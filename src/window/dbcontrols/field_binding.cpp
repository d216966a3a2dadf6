#include "window/dbcontrols/field_binding.h"

#include "window/handler_boundary.h"

namespace qor::window {

bool FieldBinding::canModify() const {
    const ds::Field* f = field();
    return f && f->canModify();
}

bool FieldBinding::run(const std::function<void()>& action) {
    bool finished = false;
    runHandler(dialogs_, [&] {
        action();
        finished = true;
    });
    return finished;
}

}  // namespace qor::window
