// Sign-in against a real head-office gateway, and against raw servers for the replies a real
// gateway never gives.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "canned_http_server.h"
#include "gateway_process.h"
#include "shared_gateway.h"
#include "store_workflows.h"
#include "text/cp950.h"

namespace qor::test {
namespace {

std::string headOfficeRows() {
    return "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('S001', '" +
           QOR_BIG5("台北一店") + "', '1234');\n"
           "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('S002', '', '0000');\n"
           "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('O''NE', 'Quote shop', "
           "'5678');\n"
           "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('LOGINID', 'Default', "
           "'1234');\n";
}

class SignIn : public qor::test::SharedGateway<SignIn> {
protected:
    static void SetUpTestSuite() { startGateway(headOfficeRows()); }
    void SetUp() override { w = std::make_unique<StoreWorkflows>("", gateway->port()); }

    // What the window does with the answer; nullopt when the sign-in ended before it.
    std::optional<bool> signIn(const std::string& code, const std::string& password) {
        std::optional<bool> found;
        w->dialogs.handle([&] {
            w->signIn.ask(code, password);
            found = w->signIn.answer();
        });
        return found;
    }

    std::unique_ptr<StoreWorkflows> w;
};


// Codes as typed, the answer, and the one box it gives.
struct Attempt {
    const char* code;
    const char* password;
    bool found;
    std::string box;
};

TEST_F(SignIn, AStoreFoundIsGreetedByNameAndAnyOtherCodesAreWarned) {
    const std::string hello = QOR_BIG5("您好!!");
    const std::string wrong = QOR_BIG5("代號或識別碼錯誤..!");
    for (const Attempt& a : std::vector<Attempt>{
             {"S001", "1234", true, QOR_BIG5("台北一店") + hello},
             {"s001", "1234", true, QOR_BIG5("台北一店") + hello},  // compared in capitals
             {"LoginID", "1234", true, "Default" + hello},          // the start texts
             {"S002", "0000", true, hello},                         // no name: the greeting
             {"S001", "9999", false, wrong},
             // Would match every store if the quote ended the literal.
             {"S0' OR '1'='1", "x' OR '1'='1", false, wrong},
             {"o'ne", "5678", true, "Quote shop" + hello},  // a code that holds a quote
         }) {
        w->dialogs.boxes.clear();
        EXPECT_EQ(signIn(a.code, a.password), a.found) << a.code;
        ASSERT_EQ(w->dialogs.boxes.size(), 1u) << a.code;
        EXPECT_EQ(w->dialogs.boxes[0].kind, a.found ? Box::Message : Box::Warning) << a.code;
        EXPECT_EQ(w->dialogs.boxes[0].text, a.box) << a.code;
    }
    // Both datasets hold the last reply, fields in select-list order.
    EXPECT_EQ(w->signIn.ClientDataSet1.recordCount(), 1);
    EXPECT_EQ(w->signIn.CDS_Cust.field(0).fieldName(), "CUST_ID");
    EXPECT_EQ(w->signIn.CDS_Cust.fieldCount(), 12);
    EXPECT_EQ(w->progress.captions.front(), QOR_BIG5("連線"));
}

TEST_F(SignIn, AGatewayThatRefusesShowsTheTransportBoxAndEndsTheSignIn) {
    const int port = closedPort();
    w->connectTo(port);
    EXPECT_EQ(signIn("S001", "1234"), std::nullopt);
    ASSERT_EQ(w->dialogs.boxes.size(), 1u);
    EXPECT_EQ(w->dialogs.boxes[0].kind, Box::Message);
    const std::string expected = "http://127.0.0.1:" + std::to_string(port) +
                                 "/oVat/ado/index.php" + QOR_BIG5("錯誤的連線: ");
    EXPECT_EQ(w->dialogs.boxes[0].text.substr(0, expected.size()), expected);
}

TEST_F(SignIn, AnErrorReplyEndsTheSignInAtTheFirstRequest) {
    CannedHttpServer server(CannedHttpServer::okReply("<RESULT>no table</RESULT>"));
    w->connectTo(server.port());
    EXPECT_EQ(signIn("S001", "1234"), std::nullopt);
    ASSERT_EQ(w->dialogs.boxes.size(), 1u);
    EXPECT_EQ(w->dialogs.boxes[0].kind, Box::Error);
    EXPECT_EQ(w->dialogs.boxes[0].text, "<RESULT>no table</RESULT>");
    EXPECT_EQ(server.requests(), 1);
}

TEST_F(SignIn, AnEmptyReplyFailsOnTheClosedDatasetAfterBothRequests) {
    CannedHttpServer server(CannedHttpServer::okReply(""));
    w->connectTo(server.port());
    w->dialogs.handle([&] { w->signIn.ask("S001", "1234"); });
    EXPECT_TRUE(w->dialogs.boxes.empty());
    EXPECT_EQ(server.requests(), 2);
    w->dialogs.handle([&] { w->signIn.answer(); });
    ASSERT_EQ(w->dialogs.boxes.size(), 1u);
    EXPECT_EQ(w->dialogs.boxes[0].text,
              "ClientDataSet1: Cannot perform this operation on a closed dataset");
    EXPECT_FALSE(w->signIn.ClientDataSet1.active());
}

}  // namespace
}  // namespace qor::test
