// The window as it starts: regions, controls, texts, keyboard order and the tabs.
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
    EXPECT_EQ(form.size(), QSize(792, 516));
    EXPECT_TRUE(control("Panel1")->isVisible());
    EXPECT_TRUE(control("Panel2")->isVisible());
    EXPECT_FALSE(control("Panel3")->isVisible());
    EXPECT_TRUE(control<QPlainTextEdit>("Memo1")->toPlainText().isEmpty());
    EXPECT_FALSE(form.ClientDataSet1.active());
    EXPECT_FALSE(form.CDS_Cust.active());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WindowFrame, BarsKeepTopAndBottomWhenResized) {
    form.show();
    form.resize(1000, 700);
    EXPECT_EQ(control("Panel1")->geometry(), QRect(0, 0, 1000, 41));
    EXPECT_EQ(control("Panel2")->geometry(), QRect(0, 673, 1000, 27));
    EXPECT_EQ(control("Panel3")->geometry(), QRect(0, 41, 1000, 632));
    EXPECT_EQ(control<QPlainTextEdit>("Memo1")->geometry(), control("Panel2")->contentsRect());
}

TEST_F(WindowFrame, SignInBarHoldsItsControlsWithTheirTexts) {
    EXPECT_EQ(caption("Label1"), QString::fromUtf8("店代號"));
    EXPECT_EQ(caption("Label2"), QString::fromUtf8("識別碼"));
    EXPECT_EQ(caption("SpeedButton1"), QString::fromUtf8("連線"));
    EXPECT_EQ(caption("Label28"), QString::fromUtf8("前推天數"));

    EXPECT_EQ(control("Ed_CustID")->geometry(), QRect(62, 7, 121, 21));
    EXPECT_EQ(control("Ed_Passwd")->geometry(), QRect(240, 6, 121, 21));
    EXPECT_EQ(control("SpeedButton1")->geometry(), QRect(364, 5, 75, 24));
    EXPECT_EQ(control("Ed_Day")->geometry(), QRect(754, 10, 28, 21));
    EXPECT_EQ(control("Label28")->geometry(), QRect(693, 13, 56, 13));

    auto* code = control<QLineEdit>("Ed_CustID");
    auto* password = control<QLineEdit>("Ed_Passwd");
    auto* days = control<QLineEdit>("Ed_Day");
    EXPECT_EQ(code->text(), "LoginID");
    EXPECT_EQ(password->text(), "1234");
    EXPECT_EQ(password->displayText(), "####");
    EXPECT_EQ(days->text(), "7");
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
    days->setText("30");
    QTest::keyClicks(days, "5");
    EXPECT_EQ(days->text(), "30");
}

TEST_F(WindowFrame, ButtonBarHoldsTheWorkButtonsAndTheFreshGoodsBox) {
    EXPECT_EQ(caption("SpeedButton2"), QString::fromUtf8("商品資料"));
    EXPECT_EQ(caption("SpeedButton3"), QString::fromUtf8("販促資料"));
    EXPECT_EQ(caption("SpeedButton4"), QString::fromUtf8("廠商資料"));
    EXPECT_EQ(caption("CheckBox1"), QString::fromUtf8("生鮮商品"));
    EXPECT_FALSE(control<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_EQ(control("SpeedButton2")->geometry(), QRect(14, 7, 97, 27));
    EXPECT_EQ(control("SpeedButton3")->geometry(), QRect(118, 7, 97, 27));
    EXPECT_EQ(control("SpeedButton4")->geometry(), QRect(224, 7, 97, 27));
    EXPECT_EQ(control("CheckBox1")->geometry(), QRect(680, 16, 97, 17));
    EXPECT_EQ(control("Panel4")->height(), 41);
}

TEST_F(WindowFrame, KeyboardStartsInTheStoreCodeAndRunsThroughTheSignInEdits) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), control("Ed_CustID"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control("Ed_Passwd"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control("Ed_Day"));
}

TEST_F(WindowFrame, PushButtonsNeverTakeTheFocus) {
    const auto buttons = form.findChildren<QPushButton*>();
    ASSERT_GE(buttons.size(), 4);
    for (QPushButton* button : buttons)
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus) << button->objectName().toStdString();
}

TEST_F(WindowFrame, PageControlHasThreeTabsOnTheRightWithPageZeroActive) {
    auto* pages = control<QTabWidget>("PageControl1");
    EXPECT_EQ(pages->tabPosition(), QTabWidget::East);
    ASSERT_EQ(pages->count(), 3);
    for (int i = 0; i < 3; ++i) {
        const QString name = QStringLiteral("TabSheet%1").arg(i + 1);
        EXPECT_EQ(pages->widget(i)->objectName(), name);
        EXPECT_EQ(pages->tabText(i), name);
    }
    EXPECT_EQ(pages->currentIndex(), 0);
}

TEST_F(WindowFrame, UsesTheTraditionalChineseFontAtThirteenPixels) {
    const QFont font = form.font();
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_TRUE(font.families().contains("AR PL UMing TW"));
    EXPECT_EQ(font.families().first(), QString::fromUtf8("細明體"));
    EXPECT_EQ(control("Ed_CustID")->font().pixelSize(), 13);
}

TEST_F(WindowFrame, PageFramesAreLaidOutForTheWorkflows) {
    form.Panel3->show();
    form.show();
    form.SwitchTabs(TabSwitch::PromotionButton);
    EXPECT_EQ(control("Panel11")->height(), 168);
    EXPECT_EQ(control("Panel13")->height(), 122);
    EXPECT_EQ(control("SpeedButton7")->geometry(), QRect(6, 5, 78, 30));
    EXPECT_EQ(caption("SpeedButton7"), QString::fromUtf8("品項檢查"));
    EXPECT_FALSE(control("SpeedButton8")->isVisible());
    EXPECT_EQ(control("Memo2")->height(), 81);

    form.SwitchTabs(TabSwitch::ProductButton);
    EXPECT_EQ(control("Panel9")->height(), 30);
    EXPECT_EQ(caption("SpeedButton5"), QString::fromUtf8("匯入存檔"));
    EXPECT_EQ(caption("SpeedButton6"), QString::fromUtf8("復原編輯"));
    EXPECT_EQ(control("SpeedButton9")->geometry(), QRect(184, 5, 23, 22));

    form.SwitchTabs(TabSwitch::SupplierButton);
    EXPECT_EQ(control("Panel15")->height(), 34);
    EXPECT_TRUE(control("Panel14")->isVisible());
}

}  // namespace
}  // namespace qor::window
