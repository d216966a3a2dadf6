#pragma once
// Real message boxes.
#include <QPointer>
#include <QWidget>

#include "window/window_dialogs.h"

namespace qor::window {

class QtDialogs : public WindowDialogs {
public:
    // The boxes are modal over `owner` (the main window) once it is set.
    void setOwner(QWidget* owner) { owner_ = owner; }

    void showMessage(const std::string& text) override;
    void showWarning(const std::string& text) override;
    void showError(const std::string& text) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace qor::window
