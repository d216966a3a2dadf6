#include "window/sign_in_bar.h"

#include "text/cp950.h"
#include "window/password_char_style.h"
#include "window/widget_placing.h"

namespace qor::window {

namespace {

// The code the identification edit holds before the user types one.
constexpr const char* kDefaultPassword = "1234";

}  // namespace

SignInBar::SignInBar(QWidget* window) {
    Panel1 = new Panel(QStringLiteral("Panel1"), window);

    Label1 = placeLabel(Panel1, "Label1", QOR_BIG5("店代號"), {11, 11, 42, 13});
    Ed_CustID = placeWidget<QLineEdit>(Panel1, "Ed_CustID", {62, 7, 121, 21});
    Ed_CustID->setText(QStringLiteral("LoginID"));

    Label2 = placeLabel(Panel1, "Label2", QOR_BIG5("識別碼"), {192, 10, 42, 13});
    Ed_Passwd = placeWidget<QLineEdit>(Panel1, "Ed_Passwd", {240, 6, 121, 21});
    auto* hashes = new PasswordCharStyle();
    hashes->setParent(Ed_Passwd);
    Ed_Passwd->setStyle(hashes);
    Ed_Passwd->setEchoMode(QLineEdit::Password);
    Ed_Passwd->setText(QString::fromLatin1(kDefaultPassword));

    SpeedButton1 = placeButton(Panel1, "SpeedButton1", QOR_BIG5("連線"), {364, 5, 75, 24});

    Label28 = placeLabel(Panel1, "Label28", QOR_BIG5("前推天數"), {693, 13, 56, 13});
    Ed_Day = placeWidget<QLineEdit>(Panel1, "Ed_Day", {754, 10, 28, 21});
    Ed_Day->setMaxLength(2);
    Ed_Day->setText(QStringLiteral("7"));

    QWidget::setTabOrder(Ed_CustID, Ed_Passwd);
    QWidget::setTabOrder(Ed_Passwd, Ed_Day);
    Ed_CustID->setFocus();
}

}  // namespace qor::window
