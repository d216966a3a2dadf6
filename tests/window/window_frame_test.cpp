// The window as it starts: regions, texts, keyboard order and the tabs.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "qt_printing.h"
#include "recording_dialogs.h"
#include "window/FrmQorClient.h"

namespace qor::window {
namespace {

class WindowFrame : public ::testing::Test {
protected:
    test::RecordingDialogs dialogs;
    TFormQorClient form{dialogs};

    template <typename W = QWidget>
    W* control(const char* name) {
        W* widget = form.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString caption(const char* name) {
        QWidget* w = control(name);
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
        return {};
    }
};

TEST_F(WindowFrame, StartsSignedOutWithNothingOpen) {
    form.show();
    EXPECT_EQ(form.windowTitle(), "FormQorClient");
    EXPECT_TRUE(control("Panel1")->isVisible());
    EXPECT_TRUE(control("Panel2")->isVisible());
    EXPECT_FALSE(control("Panel3")->isVisible());
    EXPECT_TRUE(control<QPlainTextEdit>("Memo1")->toPlainText().isEmpty());
    EXPECT_FALSE(form.signIn().ClientDataSet1.active());
    EXPECT_FALSE(form.signIn().CDS_Cust.active());
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form.workArea().PageControl1->tabPosition(), QTabWidget::East);
    EXPECT_EQ(form.workArea().PageControl1->currentIndex(), 0);
    EXPECT_EQ(form.workArea().PageControl1->tabText(2), "TabSheet3");
}

TEST_F(WindowFrame, BarsKeepTopAndBottomWhenResized) {
    form.show();
    form.resize(1000, 700);
    EXPECT_EQ(control("Panel1")->geometry(), QRect(0, 0, 1000, 41));
    EXPECT_EQ(control("Panel2")->geometry(), QRect(0, 673, 1000, 27));
    EXPECT_EQ(control("Panel3")->geometry(), QRect(0, 41, 1000, 632));
    EXPECT_EQ(control<QPlainTextEdit>("Memo1")->geometry(), control("Panel2")->contentsRect());
}

TEST_F(WindowFrame, ShowsItsCaptionsAndStartTexts) {
    EXPECT_EQ(caption("Label1"), QString::fromUtf8("店代號"));
    EXPECT_EQ(caption("Label2"), QString::fromUtf8("識別碼"));
    EXPECT_EQ(caption("SpeedButton1"), QString::fromUtf8("連線"));
    EXPECT_EQ(caption("Label28"), QString::fromUtf8("前推天數"));
    EXPECT_EQ(caption("SpeedButton2"), QString::fromUtf8("商品資料"));
    EXPECT_EQ(caption("SpeedButton3"), QString::fromUtf8("販促資料"));
    EXPECT_EQ(caption("SpeedButton4"), QString::fromUtf8("廠商資料"));
    EXPECT_EQ(caption("CheckBox1"), QString::fromUtf8("生鮮商品"));
    EXPECT_FALSE(control<QCheckBox>("CheckBox1")->isChecked());

    EXPECT_EQ(control<QLineEdit>("Ed_CustID")->text(), "LoginID");
    EXPECT_EQ(control<QLineEdit>("Ed_Passwd")->text(), "1234");
    EXPECT_EQ(control<QLineEdit>("Ed_Passwd")->displayText(), "####");
    EXPECT_EQ(control<QLineEdit>("Ed_Day")->text(), "7");
}

TEST_F(WindowFrame, PasswordShowsHashesAndDayCountTakesTwoCharacters) {
    auto* password = control<QLineEdit>("Ed_Passwd");
    password->clear();
    QTest::keyClicks(password, "ab'c9");
    EXPECT_EQ(password->text(), "ab'c9");
    EXPECT_EQ(password->displayText(), "#####");

    auto* days = control<QLineEdit>("Ed_Day");
    days->clear();
    QTest::keyClicks(days, "123");
    EXPECT_EQ(days->text(), "12");
}

TEST_F(WindowFrame, KeyboardStartsInTheStoreCodeAndRunsThroughTheSignInEdits) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), control("Ed_CustID"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control("Ed_Passwd"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control("Ed_Day"));

    // Pressing a button leaves the focus where it was.
    form.workArea().Panel3->show();
    QTest::mouseClick(control("SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), control("Ed_Day"));
    for (QPushButton* button : form.findChildren<QPushButton*>())
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus) << button->objectName().toStdString();
}

}  // namespace
}  // namespace qor::window
