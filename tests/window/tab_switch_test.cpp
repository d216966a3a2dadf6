// The work buttons' tab switch and the sign-in's "no tab" state, seen on the real tab widget.
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

#include "qt_printing.h"
#include "recording_dialogs.h"
#include "window/FrmQorClient.h"

namespace qor::window {
namespace {

class TabSwitching : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        form.workArea().Panel3->show();  // as after a sign-in that found the store
    }

    std::vector<int> shownTabs() {
        std::vector<int> shown;
        for (int i = 0; i < form.workArea().PageControl1->count(); ++i)
            if (form.workArea().PageControl1->isTabVisible(i)) shown.push_back(i);
        return shown;
    }
    std::vector<int> visiblePages() {
        std::vector<int> visible;
        for (int i = 0; i < form.workArea().PageControl1->count(); ++i)
            if (form.workArea().PageControl1->widget(i)->isVisible()) visible.push_back(i);
        return visible;
    }
    QString tabText(int i) { return form.workArea().PageControl1->tabText(i); }
    void press(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    test::RecordingDialogs dialogs;
    TFormQorClient form{dialogs};
};

TEST_F(TabSwitching, EachWorkButtonShowsItsOwnTabAloneUnderTheWindowCaption) {
    press(form.workArea().SpeedButton3);
    EXPECT_EQ(shownTabs(), std::vector<int>{1});
    EXPECT_EQ(visiblePages(), std::vector<int>{1});
    EXPECT_EQ(form.workArea().PageControl1->currentIndex(), 1);
    EXPECT_EQ(tabText(1), "FormQorClient");
    EXPECT_EQ(tabText(0), "TabSheet1");
    EXPECT_EQ(tabText(2), "TabSheet3");

    press(form.workArea().SpeedButton2);
    EXPECT_EQ(shownTabs(), std::vector<int>{0});
    EXPECT_EQ(visiblePages(), std::vector<int>{0});
    EXPECT_EQ(tabText(0), "FormQorClient");

    press(form.workArea().SpeedButton4);
    EXPECT_EQ(shownTabs(), std::vector<int>{2});
    EXPECT_EQ(visiblePages(), std::vector<int>{2});
    EXPECT_EQ(form.workArea().PageControl1->currentIndex(), 2);
    EXPECT_EQ(tabText(2), "FormQorClient");
    // Each button goes on to fetch, and this window has neither a store database nor a
    // gateway module: each fails after its switch.
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    for (const test::Box& box : dialogs.boxes) EXPECT_EQ(box.kind, test::Box::Error);
}

TEST_F(TabSwitching, SignInStateHidesEveryTabAndPageButKeepsTheActivePage) {
    press(form.workArea().SpeedButton4);
    form.SwitchTabs(TabSwitch::SignIn);
    EXPECT_TRUE(shownTabs().empty());
    EXPECT_TRUE(visiblePages().empty());
    EXPECT_EQ(form.workArea().PageControl1->currentIndex(), 2);

    // A page hidden this way comes back whole with its tab.
    press(form.workArea().SpeedButton4);
    EXPECT_EQ(shownTabs(), std::vector<int>{2});
    EXPECT_EQ(visiblePages(), std::vector<int>{2});
    form.SwitchTabs(TabSwitch::SignIn);
    press(form.workArea().SpeedButton2);
    EXPECT_EQ(shownTabs(), std::vector<int>{0});
    EXPECT_EQ(visiblePages(), std::vector<int>{0});
}

TEST_F(TabSwitching, ItemCheckShowsTheProductTabWithoutTouchingItsCaption) {
    form.SwitchTabs(TabSwitch::ItemCheck);
    EXPECT_EQ(shownTabs(), std::vector<int>{0});
    EXPECT_EQ(visiblePages(), std::vector<int>{0});
    EXPECT_EQ(tabText(0), "TabSheet1");

    press(form.workArea().SpeedButton2);
    press(form.workArea().SpeedButton3);
    form.SwitchTabs(TabSwitch::ItemCheck);
    EXPECT_EQ(shownTabs(), std::vector<int>{0});
    EXPECT_EQ(tabText(0), "FormQorClient");
}

}  // namespace
}  // namespace qor::window
