#pragma once
// The sign-in bar across the top of the window: the store code, the identification code
// (shown as #), 連線, and the day count the product download reads. Keyboard order runs
// Ed_CustID, Ed_Passwd, Ed_Day; the focus starts in Ed_CustID.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "window/panel.h"

namespace qor::window {

struct SignInBar {
    explicit SignInBar(QWidget* window);

    static constexpr int kHeight = 41;

    Panel* Panel1;
    QLabel* Label1;
    QLineEdit* Ed_CustID;  // "店代號": the store code
    QLabel* Label2;
    QLineEdit* Ed_Passwd;  // "識別碼": the identification code
    QPushButton* SpeedButton1;  // "連線"
    QLabel* Label28;
    QLineEdit* Ed_Day;  // "前推天數": days to look back, two characters at most
};

}  // namespace qor::window
