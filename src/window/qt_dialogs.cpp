#include "window/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>

#include "window/big5_qt.h"
#include "window/message_rules.h"
#include "window/progress_display.h"

namespace qor::window {

namespace {

// A box raised while long work shows its progress (a failed exchange, a row that cannot be
// written) stands alone: the display steps aside, and comes back at the work's next update
// if the work goes on.
void setProgressAside() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* display = dynamic_cast<ProgressDisplay*>(window); display && display->isVisible())
            display->hide();
}

void showBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
             const QString& text) {
    setProgressAside();
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString title() { return programTitle(QCoreApplication::applicationFilePath()); }

}  // namespace

void QtDialogs::showMessage(const std::string& text) {
    showBox(owner_, QMessageBox::NoIcon, title(), toQString(text));
}

void QtDialogs::showWarning(const std::string& text) {
    showBox(owner_, QMessageBox::Warning, QStringLiteral("Warning"), toQString(text));
}

void QtDialogs::showError(const std::string& text) {
    showBox(owner_, QMessageBox::Critical, title(), toQString(errorBoxText(text)));
}

}  // namespace qor::window
