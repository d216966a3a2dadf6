// Against the head-office gateway itself: it reads the request exactly as sent and the
// reply loads into the target.
#include <gtest/gtest.h>

#include "gateway_process.h"
#include "gateway_test_support.h"
#include "temp_database.h"

namespace qor::gateway::testing {
namespace {

TEST(GatewayRoundTrip, SignInStatementBringsTheCustomerRow) {
    QOR_SKIP_WITHOUT_TEST_DATABASE();
    const std::string name = text::utf8ToCp950("商品資料");
    qor::test::GatewayProcess gateway(
        "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD, U_DIS) VALUES ('S001', '" + name +
        "', 'AB12', 95);");
    gateway.writeHttpSet(gateway.clientDir());
    RecordingDialogs dialogs;
    TDataModHttp module(gateway.clientDir(), gateway.clientDir(), dialogs, 30000);
    ds::Dataset cust("CDS_Cust");

    // Typed in small letters: the literals reach the gateway in capitals and still match.
    module.OpenRemoteQuery(cust, "SELECT CUST_ID, CUST_NAME, U_DIS FROM CUSTOMER\r\n"
                                 " where CUST_ID = 's001' and PASS_WD = 'ab12'\r\n");
    ASSERT_TRUE(cust.active());
    EXPECT_EQ(cust.recordCount(), 1);
    EXPECT_EQ(cust.field(1).asString(), name);
    EXPECT_EQ(cust.fieldByName("U_DIS").asString(), "95");
    EXPECT_TRUE(dialogs.messages().empty());

    // No matching row: a packet with the fields and no rows.
    module.OpenRemoteQuery(cust, "SELECT CUST_ID FROM CUSTOMER WHERE CUST_ID = 'none'\r\n");
    EXPECT_TRUE(cust.active());
    EXPECT_EQ(cust.fieldCount(), 1);
    EXPECT_TRUE(cust.isEmpty());

    // A statement the gateway refuses comes back as its error reply, dumped as well.
    try {
        module.OpenRemoteQuery(cust, "DELETE FROM CUSTOMER\r\n");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("<RESULT>")) << e.what();
        EXPECT_EQ(readFile(gateway.clientDir() + "/Result.txt"), std::string(e.what()) + "\r\n");
    }
}

}  // namespace
}  // namespace qor::gateway::testing
