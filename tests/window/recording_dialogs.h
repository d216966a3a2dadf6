#pragma once
// Boxes recorded instead of shown, texts as raised (code page 950).
#include <string>
#include <vector>

#include "window/window_dialogs.h"

namespace qor::window::test {

struct Box {
    enum Kind { Message, Warning, Error } kind;
    std::string text;
};

class RecordingDialogs : public WindowDialogs {
public:
    void showMessage(const std::string& text) override { boxes.push_back({Box::Message, text}); }
    void showWarning(const std::string& text) override { boxes.push_back({Box::Warning, text}); }
    void showError(const std::string& text) override { boxes.push_back({Box::Error, text}); }

    std::vector<Box> boxes;
};

}  // namespace qor::window::test
