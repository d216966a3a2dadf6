#pragma once
// The boxes the window shows: the core's plain and warning boxes plus the error box that ends
// a user action. The program passes real boxes; tests record the texts instead.
#include <string>

#include "text/dialogs.h"

namespace qor::window {

class WindowDialogs : public qor::Dialogs {
public:
    // Stop icon, program title, one OK button; `text` is the error's text as raised.
    virtual void showError(const std::string& text) = 0;
};

}  // namespace qor::window
