#pragma once
// Message boxes recorded instead of shown, texts as raised (code page 950): the one recorder
// of every test, for the core's boxes and the window's error box alike.
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "text/errors.h"
#include "window/window_dialogs.h"

namespace qor::test {

struct Box {
    enum Kind { Message, Warning, Error } kind;
    std::string text;
};

class RecordingDialogs : public window::WindowDialogs {
public:
    void showMessage(const std::string& text) override { record(Box::Message, text); }
    void showWarning(const std::string& text) override { record(Box::Warning, text); }
    void showError(const std::string& text) override { record(Box::Error, text); }

    // Runs `action` as the window's handler boundary runs a handler: an error ends it with
    // the error box, a silent abort with nothing.
    template <typename Action>
    void handle(Action&& action) {
        try {
            action();
        } catch (const qor::SilentAbort&) {
        } catch (const std::exception& e) {
            showError(e.what());
        }
    }

    // The texts of the plain boxes, of the warning boxes, in the order shown.
    std::vector<std::string> messages() const { return textsOf(Box::Message); }
    std::vector<std::string> warnings() const { return textsOf(Box::Warning); }

    std::vector<Box> boxes;
    // Runs at the moment each box is shown.
    std::function<void()> onBox;

private:
    void record(Box::Kind kind, const std::string& text) {
        boxes.push_back({kind, text});
        if (onBox) onBox();
    }

    std::vector<std::string> textsOf(Box::Kind kind) const {
        std::vector<std::string> texts;
        for (const Box& box : boxes)
            if (box.kind == kind) texts.push_back(box.text);
        return texts;
    }
};

}  // namespace qor::test

// The window tests' names for it.
namespace qor::window::test {
using qor::test::Box;
using qor::test::RecordingDialogs;
}  // namespace qor::window::test
