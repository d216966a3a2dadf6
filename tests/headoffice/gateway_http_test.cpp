// qor-gateway as any HTTP client sees it: where the account and the statement may come from,
// what the reply looks like on the wire, the log, many stores at once, and a clean stop.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "dataset/dataset.h"
#include "dataset/packet.h"
#include "gateway/FrmDataModHttp.h"
#include "gateway_process.h"
#include "headoffice_rows.h"

using namespace qor;
using namespace qor::headoffice::testing;

namespace {

const std::string kPath = "/oVat/ado/index.php";
const std::string kAccountQuery = "?user_name=SYSDBA&password=quillbarn";

httplib::MultipartFormDataItems form(const std::string& user, const std::string& password,
                                     const std::string* sql) {
    httplib::MultipartFormDataItems items = {{"user_name", user, "", ""},
                                             {"password", password, "", ""}};
    if (sql) items.push_back({"sql", *sql, "", ""});
    return items;
}

}  // namespace

class GatewayHttp : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gateway = new test::GatewayProcess(headOfficeRows()); }
    static void TearDownTestSuite() {
        delete gateway;
        gateway = nullptr;
    }

    std::string post(const std::string& target, const httplib::MultipartFormDataItems& items) {
        auto result = client.Post(target, items);
        if (!result) return "no reply";
        EXPECT_EQ(result->status, 200);
        return result->body;
    }

    static test::GatewayProcess* gateway;
    httplib::Client client{gateway->host(), gateway->port()};
    const std::string sql = "SELECT CUST_ID FROM CUSTOMER WHERE CUST_ID = 'S001'";
};

test::GatewayProcess* GatewayHttp::gateway = nullptr;

TEST_F(GatewayHttp, TheAccountMustBeInBothTheQueryStringAndTheForm) {
    const std::string refused = "<RESULT>Invalid user name or password</RESULT>";
    EXPECT_EQ(post(kPath, form("SYSDBA", "quillbarn", &sql)), refused);
    EXPECT_EQ(post(kPath + kAccountQuery, form("SYSDBA", "wrong", &sql)), refused);
    EXPECT_EQ(post(kPath + "?user_name=SYSDBA&password=wrong", form("SYSDBA", "quillbarn", &sql)), refused);
    EXPECT_EQ(post(kPath + kAccountQuery + "&password=x", form("SYSDBA", "quillbarn", &sql)), refused);

    // Any driver segment; an encoded query string reads as its decoded text.
    std::string body = post("/oVat/ibx/index.php?user_name=%53YSDBA&password=quillbarn",
                            form("SYSDBA", "quillbarn", &sql));
    EXPECT_EQ(ds::readPacket(body).rows.size(), 1u) << body;
    EXPECT_EQ(client.Post("/other/index.php" + kAccountQuery, form("SYSDBA", "quillbarn", &sql))->status, 404);
}

TEST_F(GatewayHttp, TheStatementComesFromTheSqlField) {
    EXPECT_EQ(post(kPath + kAccountQuery, form("SYSDBA", "quillbarn", nullptr)),
              "<RESULT>Missing field 'sql'</RESULT>");

    // An urlencoded form serves as well as a multipart one.
    auto result = client.Post(kPath + kAccountQuery,
                              httplib::Params{{"user_name", "SYSDBA"}, {"password", "quillbarn"}, {"sql", sql}});
    ASSERT_TRUE(result);
    EXPECT_EQ(ds::readPacket(result->body).rows.size(), 1u) << result->body;
}

TEST_F(GatewayHttp, TheReplyIsThePacketAsWrittenWithNoContentCoding) {
    const std::string statement = "SELECT PROD_NAME FROM PRODUCT WHERE PROD_ID = 'P002'";
    httplib::Headers headers = {{"Accept-Encoding", "gzip, deflate, br"}};
    auto result = client.Post(kPath + kAccountQuery, headers, form("SYSDBA", "quillbarn", &statement));
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->has_header("Content-Encoding"));
    EXPECT_TRUE(result->get_header_value("Content-Type").find("xml") != std::string::npos);

    ds::Table expected;
    expected.columns.push_back({"PROD_NAME", ds::FieldKind::String, 50});
    expected.rows.push_back({markupName()});
    EXPECT_EQ(result->body, ds::writePacket(expected));
}

TEST_F(GatewayHttp, ASelectableProcedureCannotWrite) {
    gateway->runSql(
        "SET TERM ^;\n"
        "CREATE PROCEDURE WIPE_CUSTOMERS RETURNS (N INTEGER) AS BEGIN\n"
        "  DELETE FROM CUSTOMER; N = ROW_COUNT; SUSPEND;\n"
        "END^\n"
        "SET TERM ;^\n");
    const std::string wipe = "SELECT N FROM WIPE_CUSTOMERS";
    EXPECT_TRUE(post(kPath + kAccountQuery, form("SYSDBA", "quillbarn", &wipe)).starts_with("<RESULT>"));
    EXPECT_EQ(ds::readPacket(post(kPath + kAccountQuery, form("SYSDBA", "quillbarn", &sql))).rows.size(), 1u);
}

TEST_F(GatewayHttp, ManyStoresAtOnceAreEachAnsweredTheirOwnRows) {
    gateway->writeHttpSet(gateway->clientDir());
    constexpr int kStores = 8, kRequests = 25;
    std::atomic<int> right{0};
    std::vector<std::thread> stores;
    for (int s = 1; s <= kStores; ++s) {
        stores.emplace_back([&, s] {
            char code[16], password[16], name[16];
            std::snprintf(code, sizeof code, "store%02d", s);
            std::snprintf(password, sizeof password, "pw%02d", s);
            std::snprintf(name, sizeof name, "Store %02d", s);
            const std::string dumpDir = gateway->folder() + "/dump" + std::to_string(s);
            RecordingDialogs dialogs;
            gateway::TDataModHttp http(gateway->clientDir(), dumpDir, dialogs, 60000);
            ds::Dataset reply("ClientDataSet1");
            for (int r = 0; r < kRequests; ++r) {
                try {
                    http.OpenRemoteQuery(reply, signInStatement(code, password));
                    if (reply.recordCount() == 1 && reply.field(1).asString() == name) ++right;
                } catch (...) {
                }
            }
        });
    }
    for (auto& store : stores) store.join();
    EXPECT_EQ(right, kStores * kRequests);
}

TEST_F(GatewayHttp, LogsOneLinePerRequestAndStopsCleanly) {
    post(kPath + kAccountQuery, form("SYSDBA", "quillbarn", &sql));
    post(kPath + kAccountQuery, form("SYSDBA", "nope", &sql));
    // A line is written once its reply has gone out; stopping finishes every request first.
    EXPECT_EQ(gateway->stop(), 0);
    EXPECT_FALSE(client.Post(kPath + kAccountQuery, form("SYSDBA", "quillbarn", &sql)));

    std::string log = gateway->log();
    EXPECT_NE(log.find(" 200 rows=1 "), std::string::npos) << log;
    EXPECT_NE(log.find(" 200 rows=- "), std::string::npos) << log;
    EXPECT_NE(log.find("ms <RESULT>Invalid user name or password\n"), std::string::npos) << log;
    EXPECT_NE(log.find("127.0.0.1:"), std::string::npos) << log;
}
