// The window as the view of its workflows, over a real head-office gateway and a store
// database file: each button reaches its workflow, and the window shows the outcome where it
// is the window's to show (the boxes, the work area, the tabs, the grids, the cursor).
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

#include "canned_http_server.h"
#include "gateway_process.h"
#include "shared_gateway.h"
#include "qt_printing.h"
#include "store_window_fixture.h"
#include "text/cp950.h"
#include "text/local_date.h"

namespace qor::window {
namespace {

using test::Box;

// Store S001; H1 changed today and new to the store; PM1's two items name a product the
// store has, PM2's one it lacks.
std::string headOfficeRows() {
    std::string sql = "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('S001', '" +
                      QOR_BIG5("台北一店") + "', '1234');\n";
    for (const char* id : {"P1", "H1"})
        sql += "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE, "
               "STOCK_QTY, CHG_DATE) VALUES ('" + std::string(id) + "', 'B" + id + "', 'name', 10, "
               "9, 'Y', '" + (id[0] == 'H' ? text::localDateText(0) : "2000/01/01") + "');\n";
    for (const char* master : {"PM1", "PM2"})
        sql += "INSERT INTO PSALE_MASTER (MASTERBILLID, BILL_TYPE) VALUES ('" +
               std::string(master) + "', '1');\n";
    for (const char* item : {"'PM1', '1', 'P1'", "'PM1', '2', 'P1'", "'PM2', '1', 'H1'"})
        sql += "INSERT INTO PSALE_SUB (MASTERBILLID, KEYINTIME, PROD_ID) VALUES (" +
               std::string(item) + ");\n";
    return sql;
}

class Wiring : public qor::test::SharedGateway<Wiring, test::StoreWindow> {
protected:
    static void SetUpTestSuite() { startGateway(headOfficeRows()); }
    void SetUp() override {
        openWindow("INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE) VALUES ('P1', 'BP1');\n", *gateway);
    }

    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void signIn(const QString& code, const QString& password) {
        form->signInBar().Ed_CustID->setText(code);
        form->signInBar().Ed_Passwd->setText(password);
        click(form->signInBar().SpeedButton1);
    }
    int shownTabs() const {
        int shown = 0;
        for (int i = 0; i < form->workArea().PageControl1->count(); ++i)
            shown += form->workArea().PageControl1->isTabVisible(i) ? 1 : 0;
        return shown;
    }

};


TEST_F(Wiring, SignInGreetsAndShowsTheWorkAreaWithNoTabOrWarnsAndHidesIt) {
    form->statusLine().Memo1->setPlainText("left from before");
    signIn("S001", "1234");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, QOR_BIG5("台北一店") + QOR_BIG5("您好!!"));
    EXPECT_TRUE(form->workArea().Panel3->isVisible());
    EXPECT_TRUE(form->statusLine().Memo1->toPlainText().isEmpty());
    EXPECT_EQ(shownTabs(), 0);

    click(form->workArea().SpeedButton4);  // a tab shown, then a sign-in again: none
    ASSERT_EQ(shownTabs(), 1);
    signIn("S001", "1234");
    EXPECT_EQ(shownTabs(), 0);

    signIn("S001", "9999");
    EXPECT_EQ(dialogs.boxes.back().kind, Box::Warning);
    EXPECT_FALSE(form->workArea().Panel3->isVisible());
}

TEST_F(Wiring, AFailedRequestLeavesTheWindowAsItWas) {
    form->statusLine().Memo1->setPlainText("typed");
    form->workArea().Panel3->show();
    form->SwitchTabs(TabSwitch::ProductButton);
    pointGatewayAt(qor::test::closedPort());
    signIn("S001", "1234");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, Box::Message);  // the transport box
    EXPECT_EQ(form->statusLine().Memo1->toPlainText(), "typed");
    EXPECT_TRUE(form->workArea().Panel3->isVisible());
    EXPECT_EQ(shownTabs(), 1);
}

TEST_F(Wiring, TheWorkButtonsFillTheGridsOfTheirTabs) {
    form->workArea().Panel3->show();
    click(form->workArea().SpeedButton2);
    EXPECT_EQ(form->productPage().DBGrid1->model()->rowCount(), 1);  // H1
    EXPECT_TRUE(form->productPage().importBar.SpeedButton5->isEnabled());
    click(form->workArea().SpeedButton3);
    EXPECT_EQ(form->promotionPage().DBGrid2->model()->rowCount(), 2);
    EXPECT_EQ(form->promotionPage().DBGrid3->model()->rowCount(), 2);  // PM1's items
    click(form->workArea().SpeedButton4);
    EXPECT_EQ(form->workArea().PageControl1->currentIndex(), 2);
    EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes[0].text;
}

TEST_F(Wiring, TheItemCheckBringsUpTheProductTabOrTransfersUnderTheHourglass) {
    form->workArea().Panel3->show();
    click(form->workArea().SpeedButton3);
    ASSERT_TRUE(form->store().CDS_PsaleMaster.locate("MASTERBILLID", "PM2", {}));
    click(form->promotionPage().SpeedButton7);
    EXPECT_EQ(form->workArea().PageControl1->currentIndex(), 0);
    EXPECT_EQ(form->workArea().PageControl1->tabText(0), QStringLiteral("TabSheet1"));
    EXPECT_EQ(form->productPage().DBGrid1->model()->rowCount(), 1);

    click(form->workArea().SpeedButton3);  // on PM1, whose product the store has: transferred
    bool hourglass = false;
    form->promotions().CDS_PSaleSub.afterScroll = [&](ds::Dataset&) {
        hourglass = hourglass || QApplication::overrideCursor() != nullptr;
    };
    click(form->promotionPage().SpeedButton7);
    EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes[0].text;
    EXPECT_TRUE(hourglass);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form->workArea().PageControl1->currentIndex(), 1);
    click(form->workArea().SpeedButton3);
    EXPECT_EQ(form->promotionPage().DBGrid2->model()->rowCount(), 1);  // PM1 taken now
}

}  // namespace
}  // namespace qor::window
