#pragma once
// What every data-aware control shares: the link to its field, and the window's boxes for what
// the user's actions raise.
#include <functional>

#include "dataset/datasource.h"
#include "window/window_dialogs.h"

namespace qor::window {

class FieldBinding {
public:
    explicit FieldBinding(WindowDialogs& dialogs) : dialogs_(dialogs) {}

    ds::FieldDataLink& link() { return link_; }
    // nullptr while no dataset is open or it has no such field.
    ds::Field* field() const { return link_.field(); }
    // A field is bound and takes a value now.
    bool canModify() const;

    // Runs an action the user started inside the window's boundary, so what it raises ends in
    // its box. True when the action ran to its end.
    bool run(const std::function<void()>& action);

private:
    WindowDialogs& dialogs_;
    ds::FieldDataLink link_;
};

}  // namespace qor::window
