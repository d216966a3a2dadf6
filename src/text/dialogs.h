#pragma once
// The message boxes the core needs from the window side. The window shows real boxes;
// tests and command-line tools record or print the texts instead. Kept in src/text, the ground
// floor, beside the errors: the core asks for boxes through it without knowing Qt.
#include <string>

namespace qor {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Program title as caption, no icon, one OK button.
    virtual void showMessage(const std::string& text) = 0;
    // Caption "Warning", warning icon, one "OK" button.
    virtual void showWarning(const std::string& text) = 0;
};

}  // namespace qor
