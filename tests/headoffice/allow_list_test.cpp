// The allow file: every statement the store sends passes the shipped deploy file, the near
// misses an attacker would try do not, a faulty pattern is refused when the file is read,
// and qor-gateway --allow runs only what the file allows.
#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "allow_list.h"
#include "gateway/gateway_statement.h"
#include "gateway_process.h"
#include "headoffice_rows.h"
#include "raw_http_client.h"
#include "statement_check.h"
#include "temp_folder.h"
#include "text/cp950.h"
#include "workflows/product_download.h"
#include "workflows/promotions.h"
#include "workflows/sign_in.h"
#include "workflows/suppliers.h"

namespace qor::headoffice::testing {
namespace {

const std::string kShippedFile = std::string(QOR_SOURCE_DIR) + "/deploy/store-statements.allow";

// What the gateway would run: the statement as the store sends it (capitals, one line),
// through the gateway's one-SELECT check.
std::string asRun(const std::string& sent) {
    const CheckedStatement checked = checkStatement(gateway::gatewayStatement(sent));
    if (!checked.accepted) throw std::runtime_error(checked.refusal);
    return checked.statement;
}

TEST(AllowList, TheShippedFileAllowsEveryStatementTheStoreSends) {
    namespace wf = qor::workflows;
    const AllowList allowed = AllowList::read(kShippedFile);
    const std::string chinese = text::utf8ToCp950("許功蓋");  // trail bytes 0x5C, 0x5C, 0x5C
    const std::vector<std::string> sent = {
        wf::signInStatement("S001", "1234"),
        wf::signInStatement("s002", "ab'c"),  // a quote typed: doubled inside the text
        wf::signInStatement(chinese, ""),
        wf::signInStatement(std::string(10, 'W'), "x y-z/1.2"),
        wf::productStatement(false, 7),
        wf::productStatement(false, 0),
        wf::productStatement(false, 3650),
        wf::productStatement(true, 7),
        wf::promotionListStatement(),
        wf::promotionItemsStatement("PM0001"),
        wf::promotionItemsStatement("pm-2024/" + chinese),
        wf::itemCheckStatement("PM0001"),
        wf::itemCheckStatement(std::string(20, '9')),
        wf::supplierStatement(),
    };
    for (const std::string& statement : sent)
        EXPECT_TRUE(allowed.allows(asRun(statement))) << asRun(statement);
}

TEST(AllowList, NearMissesAreRefused) {
    namespace wf = qor::workflows;
    const AllowList allowed = AllowList::read(kShippedFile);
    const std::string signIn = asRun(wf::signInStatement("S001", "1234"));
    const std::string fresh = asRun(wf::productStatement(true, 0));
    const std::string changed = asRun(wf::productStatement(false, 7));
    const std::string items = asRun(wf::promotionItemsStatement("PM0001"));
    const std::string suppliers = asRun(wf::supplierStatement());
    const std::vector<std::pair<const char*, std::string>> nearMisses = {
        {"an extra OR", signIn + " OR 1=1"},
        {"an OR between the values",
         "SELECT CUST_ID,CUST_NAME,CUST_IDAC,TAX_KIND,PRO_USE,CQ_USE,U_DIS,PRICE_FLAG,FREI_ADD,"
         "TEL_1,SALES_ID,STATE FROM CUSTOMER WHERE CUST_ID = 'S001' OR '1'='1' AND PASS_WD = 'X'"},
        {"a UNION", fresh + " UNION SELECT * FROM CUSTOMER"},
        {"a UNION after a date", changed + " UNION SELECT * FROM PRODUCT"},
        {"a comment", fresh + " /* */"},
        {"a line comment", items + " -- X"},
        {"a second table", "SELECT A.* FROM PRODUCT A, CUSTOMER B WHERE A.STOCK_QTY = 'N'"},
        {"a changed column list", "SELECT CUST_ID,CUST_NAME,PASS_WD FROM CUSTOMER WHERE "
                                  "CUST_ID = 'S001' AND PASS_WD = '1234'"},
        {"a column more", "SELECT A.PROVIDER_ID, A.PROVIDER_NAME, A.PROVIDER_PHONE ,A.BUSINESS_NUM, "
                          "A.PROVIDER_ID FROM PROVIDER A ORDER BY A.PROVIDER_ID"},
        {"another table", "SELECT A.* FROM CUSTOMER A WHERE A.BILL_TYPE = '1'"},
        {"a statement in place of a date",
         "SELECT A.* FROM PRODUCT A WHERE A.CHG_DATE >= (SELECT MIN(PASS_WD) FROM CUSTOMER)"},
        // Read byte by byte, the text would end at the quote after 0xA4; read as code page 950,
        // 0xA4 and the quote are one character. Neither reading may be trusted.
        {"a lead byte before the closing quote",
         "SELECT * FROM PSALE_SUB WHERE MASTERBILLID = '\xA4' ORDER BY KEYINTIME"},
        {"a code longer than 40 bytes", "SELECT * FROM PSALE_SUB WHERE MASTERBILLID = '" +
                                            std::string(41, 'A') + "' ORDER BY KEYINTIME"},
        {"a control byte in a code",
         "SELECT * FROM PSALE_SUB WHERE MASTERBILLID = 'A\x01' ORDER BY KEYINTIME"},
        {"nothing after the table", "SELECT A.* FROM PRODUCT A"},
        {"the whole of a pattern twice", suppliers + " " + suppliers},
    };
    EXPECT_TRUE(allowed.allows(suppliers));
    for (const auto& [what, statement] : nearMisses) EXPECT_FALSE(allowed.allows(statement)) << what;
}

TEST(AllowList, AFaultyPatternIsRefusedWithItsLine) {
    const std::vector<std::pair<std::string, std::string>> faults = {
        {"SELECT * FROM T WHERE A = {number}", "unknown hole {number}"},
        {"SELECT * FROM T WHERE A = '{code}'", "a hole inside quoted text"},
        {"SELECT * FROM T WHERE A = X{code}", "a hole must follow a blank, '(', ',' or a comparison sign"},
        {"SELECT * FROM T WHERE A = {code}X", "a hole must be followed by a blank, ')', ',' or the end"},
        {"SELECT * FROM T WHERE A = {code", "a brace outside a hole"},
        {"SELECT * FROM T WHERE A = 'X", "an unclosed quote"},
        {"SELECT * FROM T WHERE A = {code} -- ", "';', '--' or '/*' outside quotes"},
        {"SELECT * FROM T; DELETE FROM T", "';', '--' or '/*' outside quotes"},
    };
    for (const auto& [pattern, fault] : faults) {
        try {
            AllowList::parse("# statements\r\n\r\n" + pattern + "\r\n", "f.allow");
            ADD_FAILURE() << "accepted: " << pattern;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "f.allow:3: " + fault);
        }
    }
    EXPECT_THROW(
        {
            try {
                AllowList::parse("# only a comment\n", "f.allow");
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "f.allow holds no pattern");
                throw;
            }
        },
        std::runtime_error);
}

TEST(AllowList, TheGatewayRunsOnlyWhatTheFileAllows) {
    test::GatewayProcess gateway(headOfficeRows(), {}, {"--allow", kShippedFile});
    auto ask = [&gateway](const std::string& sent) {
        RawHttpClient client(gateway.port());
        client.send(storeRequest(gateway::gatewayStatement(sent)));
        return client.readToClose();
    };
    EXPECT_NE(ask(qor::workflows::supplierStatement()).find("<ROW PROVIDER_ID=\"V001\""),
              std::string::npos);
    // A table that does not exist: had the statement run, the database's error would come back.
    const std::string body = "<RESULT>The statement is not allowed</RESULT>";
    EXPECT_EQ(ask("SELECT * FROM NO_SUCH_TABLE WHERE CUST_ID = 'S001' AND PASS_WD = '1234'"),
              "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " +
                  std::to_string(body.size()) +
                  "\r\nContent-Type: application/xml; charset=big5\r\n\r\n" + body);
    gateway.stop();
    // The log shows the statement's shape, its values hidden.
    EXPECT_NE(gateway.log().find(" 200 rows=- "), std::string::npos);
    EXPECT_NE(gateway.log().find("<RESULT>The statement is not allowed: SELECT * FROM "
                                 "NO_SUCH_TABLE WHERE CUST_ID = '?' AND PASS_WD = '?'\n"),
              std::string::npos)
        << gateway.log();

    // A faulty file stops the gateway before it listens.
    test::TempFolder folder("qor-allow-");
    const std::string faulty = folder.file("faulty.allow");
    std::ofstream(faulty) << "SELECT * FROM CUSTOMER WHERE CUST_ID = {number}\n";
    try {
        test::GatewayProcess refused(headOfficeRows(), {}, {"--allow", faulty});
        ADD_FAILURE() << "started";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("qor-gateway: " + faulty + ":1: unknown hole {number}"),
                  std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace qor::headoffice::testing
