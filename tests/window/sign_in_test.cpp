// Sign-in against a real head-office gateway, and against raw servers for the replies a real
// gateway never gives.
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "canned_http_server.h"
#include "gateway/FrmDataModHttp.h"
#include "gateway_process.h"
#include "qt_printing.h"
#include "recording_dialogs.h"
#include "temp_database.h"
#include "text/cp950.h"
#include "window/FrmQorClient.h"

namespace qor::window {
namespace {

using test::Box;

constexpr int kTestTimeoutMs = 20000;

std::string storeRows() {
    return "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('S001', '" +
           QOR_BIG5("台北一店") + "', '1234');\n"
           "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('S002', '', '0000');\n"
           "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('O''NE', 'Quote shop', "
           "'5678');\n"
           "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('LOGINID', 'Default', "
           "'1234');\n";
}

// The window with its gateway module, as start-up puts them together.
struct SignInWindow {
    explicit SignInWindow(const std::string& clientDir)
        : http(clientDir, clientDir, dialogs, kTestTimeoutMs) {
        form.setDataModHttp(&http);
        form.show();
    }

    void signIn(const QString& code, const QString& password) {
        form.Ed_CustID->clear();
        QTest::keyClicks(form.Ed_CustID, code);
        form.Ed_Passwd->clear();
        QTest::keyClicks(form.Ed_Passwd, password);
        QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    }
    int shownTabCount() const {
        int shown = 0;
        for (int i = 0; i < form.PageControl1->count(); ++i)
            shown += form.PageControl1->isTabVisible(i) ? 1 : 0;
        return shown;
    }

    test::RecordingDialogs dialogs;
    TFormQorClient form{dialogs};
    gateway::TDataModHttp http;
};

class SignIn : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gateway = new qor::test::GatewayProcess(storeRows()); }
    static void TearDownTestSuite() {
        delete gateway;
        gateway = nullptr;
    }
    void SetUp() override {
        gateway->writeHttpSet(folder.path().string());
        window = std::make_unique<SignInWindow>(folder.path().string());
    }

    static qor::test::GatewayProcess* gateway;
    qor::test::TempFolder folder{"signin-"};
    std::unique_ptr<SignInWindow> window;
};

qor::test::GatewayProcess* SignIn::gateway = nullptr;

TEST_F(SignIn, AMatchingStoreIsGreetedAndGetsTheWorkAreaWithNoTab) {
    auto& w = *window;
    w.form.Memo1->setPlainText("left from before");
    w.signIn("S001", "1234");

    ASSERT_EQ(w.dialogs.boxes.size(), 1u);
    EXPECT_EQ(w.dialogs.boxes[0].kind, Box::Message);
    EXPECT_EQ(w.dialogs.boxes[0].text, QOR_BIG5("台北一店") + QOR_BIG5("您好!!"));
    EXPECT_TRUE(w.form.Panel3->isVisible());
    EXPECT_EQ(w.shownTabCount(), 0);
    EXPECT_TRUE(w.form.Memo1->toPlainText().isEmpty());
    // Both datasets hold the reply, fields in select-list order.
    EXPECT_EQ(w.form.ClientDataSet1.recordCount(), 1);
    EXPECT_EQ(w.form.CDS_Cust.recordCount(), 1);
    EXPECT_EQ(w.form.CDS_Cust.field(0).fieldName(), "CUST_ID");
    EXPECT_EQ(w.form.CDS_Cust.fieldCount(), 12);
}

TEST_F(SignIn, WrongCodesWarnAndHideTheWorkAreaAgain) {
    auto& w = *window;
    w.signIn("S001", "1234");
    ASSERT_TRUE(w.form.Panel3->isVisible());
    w.signIn("S001", "9999");

    ASSERT_EQ(w.dialogs.boxes.size(), 2u);
    EXPECT_EQ(w.dialogs.boxes[1].kind, Box::Warning);
    EXPECT_EQ(w.dialogs.boxes[1].text, QOR_BIG5("代號或識別碼錯誤..!"));
    EXPECT_FALSE(w.form.Panel3->isVisible());
    EXPECT_EQ(w.shownTabCount(), 0);
    EXPECT_TRUE(w.form.ClientDataSet1.isEmpty());
}

TEST_F(SignIn, CodesAreComparedInCapitals) {
    auto& w = *window;
    w.signIn("s001", "1234");
    ASSERT_EQ(w.dialogs.boxes.size(), 1u);
    EXPECT_EQ(w.dialogs.boxes[0].kind, Box::Message);
    EXPECT_TRUE(w.form.Panel3->isVisible());
}

TEST_F(SignIn, TheStartTextsSignInAsTheStoreLoginId) {
    auto& w = *window;
    QTest::mouseClick(w.form.SpeedButton1, Qt::LeftButton);
    ASSERT_EQ(w.dialogs.boxes.size(), 1u);
    EXPECT_EQ(w.dialogs.boxes[0].text, "Default" + QOR_BIG5("您好!!"));
}

TEST_F(SignIn, AnEmptyStoreNameGreetsWithTheGreetingAlone) {
    auto& w = *window;
    w.signIn("S002", "0000");
    ASSERT_EQ(w.dialogs.boxes.size(), 1u);
    EXPECT_EQ(w.dialogs.boxes[0].text, QOR_BIG5("您好!!"));
}

TEST_F(SignIn, AQuoteTypedInACodeCannotChangeTheStatement) {
    auto& w = *window;
    // Would match every store if the quote ended the literal.
    w.signIn("S0' OR '1'='1", "x' OR '1'='1");
    ASSERT_EQ(w.dialogs.boxes.size(), 1u);
    EXPECT_EQ(w.dialogs.boxes[0].kind, Box::Warning);
    EXPECT_FALSE(w.form.Panel3->isVisible());

    // A code that really holds a quote is found.
    w.signIn("o'ne", "5678");
    ASSERT_EQ(w.dialogs.boxes.size(), 2u);
    EXPECT_EQ(w.dialogs.boxes[1].kind, Box::Message);
    EXPECT_EQ(w.dialogs.boxes[1].text, "Quote shop" + QOR_BIG5("您好!!"));
}

TEST_F(SignIn, SigningInAgainWhileATabIsShownLeavesNoTab) {
    auto& w = *window;
    w.signIn("S001", "1234");
    QTest::mouseClick(w.form.SpeedButton2, Qt::LeftButton);
    ASSERT_EQ(w.shownTabCount(), 1);
    w.signIn("S001", "1234");
    EXPECT_TRUE(w.form.Panel3->isVisible());
    EXPECT_EQ(w.shownTabCount(), 0);
}

// A window whose gateway module reads an httpset.ini pointing at `port`.
class SignInWithout : public ::testing::Test {
protected:
    SignInWindow& windowOnPort(int port) {
        std::ofstream(folder.path() / "httpset.ini") << "[set]\r\nhost=127.0.0.1\r\nport=" << port
                                                     << "\r\n";
        window = std::make_unique<SignInWindow>(folder.path().string());
        return *window;
    }

    qor::test::TempFolder folder{"signin-raw-"};
    std::unique_ptr<SignInWindow> window;
};

TEST_F(SignInWithout, AGatewayThatRefusesShowsTheTransportBoxAndChangesNothing) {
    const int port = test::closedPort();
    auto& w = windowOnPort(port);
    w.form.Memo1->setPlainText("typed");
    w.form.Panel3->show();
    w.form.SwitchTabs(TabSwitch::ProductButton);  // as after a product download
    w.signIn("S001", "1234");

    ASSERT_EQ(w.dialogs.boxes.size(), 1u);
    EXPECT_EQ(w.dialogs.boxes[0].kind, Box::Message);
    const std::string expected = "http://127.0.0.1:" + std::to_string(port) +
                                 "/oVat/ado/index.php" + QOR_BIG5("錯誤的連線: ");
    EXPECT_EQ(w.dialogs.boxes[0].text.substr(0, expected.size()), expected);
    EXPECT_EQ(w.form.Memo1->toPlainText(), "typed");
    EXPECT_TRUE(w.form.Panel3->isVisible());
    EXPECT_EQ(w.shownTabCount(), 1);
}

TEST_F(SignInWithout, AnErrorReplyEndsTheSignInAtTheFirstCall) {
    test::CannedHttpServer server(test::CannedHttpServer::okReply("<RESULT>no table</RESULT>"));
    auto& w = windowOnPort(server.port());
    w.form.Memo1->setPlainText("typed");
    w.signIn("S001", "1234");

    ASSERT_EQ(w.dialogs.boxes.size(), 1u);
    EXPECT_EQ(w.dialogs.boxes[0].kind, Box::Error);
    EXPECT_EQ(w.dialogs.boxes[0].text, "<RESULT>no table</RESULT>");
    EXPECT_EQ(server.requests(), 1);
    EXPECT_EQ(w.form.Memo1->toPlainText(), "typed");
    EXPECT_FALSE(w.form.Panel3->isVisible());
}

TEST_F(SignInWithout, AnEmptyReplyFailsOnTheClosedDataset) {
    test::CannedHttpServer server(test::CannedHttpServer::okReply(""));
    auto& w = windowOnPort(server.port());
    w.form.Memo1->setPlainText("typed");
    w.signIn("S001", "1234");

    ASSERT_EQ(w.dialogs.boxes.size(), 1u);
    EXPECT_EQ(w.dialogs.boxes[0].kind, Box::Error);
    EXPECT_EQ(w.dialogs.boxes[0].text,
              "ClientDataSet1: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(server.requests(), 2);  // both calls ran before the count
    EXPECT_TRUE(w.form.Memo1->toPlainText().isEmpty());
    EXPECT_FALSE(w.form.Panel3->isVisible());
    EXPECT_FALSE(w.form.ClientDataSet1.active());
}

}  // namespace
}  // namespace qor::window
