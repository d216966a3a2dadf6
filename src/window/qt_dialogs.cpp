#include "window/qt_dialogs.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "window/big5_qt.h"
#include "window/message_rules.h"

namespace qor::window {

namespace {

void showBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
             const QString& text) {
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
