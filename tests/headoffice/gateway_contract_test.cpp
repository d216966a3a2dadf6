// Every statement a store sends, through the store's own gateway client, to qor-gateway over a
// head-office database file: the fields and rows each caller relies on arrive, Big5 byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <vector>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "gateway_process.h"
#include "headoffice_rows.h"
#include "storedb/connection.h"
#include "storedb/product_record.h"
#include "storedb/query.h"
#include "temp_database.h"
#include "text/errors.h"

using namespace qor;
using namespace qor::headoffice::testing;

namespace {

std::vector<std::string> fieldNames(ds::Dataset& dataset) {
    std::vector<std::string> names;
    for (int i = 0; i < dataset.fieldCount(); ++i) names.push_back(dataset.field(i).fieldName());
    return names;
}

std::vector<std::string> column(ds::Dataset& dataset, const char* name) {
    std::vector<std::string> values;
    for (dataset.first(); !dataset.eof(); dataset.next())
        values.push_back(dataset.fieldByName(name).asString());
    return values;
}

}  // namespace

class GatewayContract : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gateway = new test::GatewayProcess(headOfficeRows());
        gateway->writeHttpSet(gateway->clientDir());
    }
    static void TearDownTestSuite() {
        delete gateway;
        gateway = nullptr;
    }

    void ask(const std::string& statement) { http.OpenRemoteQuery(reply, statement); }

    static test::GatewayProcess* gateway;
    RecordingDialogs dialogs;
    gateway::TDataModHttp http{gateway->clientDir(), gateway->clientDir(), dialogs, 60000};
    ds::Dataset reply{"CDS_Source"};
};

test::GatewayProcess* GatewayContract::gateway = nullptr;

TEST_F(GatewayContract, SignInFindsTheStoreWhateverTheCaseTyped) {
    ask(signInStatement("loginid", "1234"));
    ASSERT_EQ(reply.recordCount(), 1);
    EXPECT_EQ(fieldNames(reply),
              (std::vector<std::string>{"CUST_ID", "CUST_NAME", "CUST_IDAC", "TAX_KIND", "PRO_USE",
                                        "CQ_USE", "U_DIS", "PRICE_FLAG", "FREI_ADD", "TEL_1",
                                        "SALES_ID", "STATE"}));
    EXPECT_EQ(reply.field(1).asString(), storeName());
    EXPECT_EQ(reply.fieldByName("U_DIS").asFloat(), 95.0);

    ask(signInStatement("LoginID", "9999"));
    EXPECT_TRUE(reply.active());
    EXPECT_EQ(reply.recordCount(), 0);
    EXPECT_EQ(reply.fieldCount(), 12);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(GatewayContract, ProductDownloadCarriesEveryFieldOfTheProductRecord) {
    ask(productStatement(dateDaysAgo(7)));
    EXPECT_EQ(column(reply, "PROD_BARCODE"), (std::vector<std::string>{"4710001", "4710003"}));
    for (const auto& spec : storedb::productFields()) {
        ds::Field* field = reply.findField(spec.name);
        ASSERT_NE(field, nullptr) << spec.name;
        EXPECT_EQ(field->kind(), spec.kind) << spec.name;
        if (spec.kind == ds::FieldKind::String) {
            EXPECT_EQ(field->size(), spec.size) << spec.name;
        }
    }
    reply.first();
    EXPECT_EQ(reply.fieldByName("PROD_NAME").asString(), coffeeName());
    EXPECT_EQ(reply.fieldByName("AVG_COST").asFloat(), 2.346);
    EXPECT_EQ(reply.fieldByName("SAFE_DAY").asInteger(), 7);
    EXPECT_TRUE(reply.fieldByName("PROD_ID2").isNull());

    // Dates compare as text: the cut-off day itself is in, the day after it is out.
    ask(productStatement(dateDaysAgo(3)));
    EXPECT_EQ(reply.recordCount(), 2);
    ask(productStatement(dateDaysAgo(2)));
    EXPECT_EQ(column(reply, "PROD_ID"), (std::vector<std::string>{"P001"}));

    ask(freshGoodsStatement());
    EXPECT_EQ(column(reply, "PROD_NAME"), (std::vector<std::string>{markupName()}));
}

TEST_F(GatewayContract, PromotionListCarriesEveryColumnOfTheStoresMasterTable) {
    ask(promotionListStatement());
    EXPECT_EQ(column(reply, "MASTERBILLID"), (std::vector<std::string>{"PM001", "PM003"}));
    reply.first();
    EXPECT_EQ(reply.fieldByName("REASON").asString(), big5("週年慶"));

    // The store copies a master by column name: the store's columns must all be here, each
    // of a kind the store's column takes.
    test::TempDatabase store;
    storedb::FixedDefinitionPaths paths(QOR_BIN_DIR);
    storedb::SqlConnection connection("Store", paths);
    connection.setLoadParamsOnConnect(false);
    connection.setLibraryName("libdbxfb.so");
    connection.setVendorLib("libfbclient.so.2");
    connection.params().set("Database", store.path());
    storedb::SqlQuery query("Layout", connection);
    query.setSql("select * from psale_master where masterbillid = '-1' ");
    for (const auto& storeColumn : query.openTable().columns) {
        ds::Field* field = reply.findField(storeColumn.name);
        ASSERT_NE(field, nullptr) << storeColumn.name;
        EXPECT_EQ(field->kind(), storeColumn.kind) << storeColumn.name;
    }
}

TEST_F(GatewayContract, PromotionItemsComeInKeyInTimeOrder) {
    ask(promotionItemsStatement("pm001"));
    EXPECT_EQ(column(reply, "PROD_ID"), (std::vector<std::string>{"P001", "PX99", "P003"}));
    for (const char* name : {"MASTERBILLID", "PROD_NAME", "PROD_BARCODE", "PD_ITEMID", "PSALE_FLAG",
                             "PSALE_PRICE", "OLD_PRICE", "N_QTY", "G_PROD_ID", "G_PROD_NAME", "G_QTY",
                             "TEMPPRODID", "STORE_ID", "CHG_DATE", "CHG_USER", "VIP_PRICE", "ini_date",
                             "end_date", "NEW_COST", "KEYINTIME", "SEC_DIS", "PINI_DATE", "PEND_DATE",
                             "VNEW_COST", "PACK_QTY", "PLIMIT_QTY", "NOTE", "v_name", "STOP_SALE",
                             "BILL_KIND", "U_DIS", "PROVIDER_ID", "PROVIDER_NAME", "OLD_COST",
                             "POINT_YN", "PRO_NO", "SET_TYPE", "POP_TYPE"})
        EXPECT_NE(reply.findField(name), nullptr) << name;

    // A master without items, and the empty id a blank master row sends: fields, no rows.
    ask(promotionItemsStatement(""));
    EXPECT_EQ(reply.recordCount(), 0);
    EXPECT_NE(reply.findField("PROD_ID"), nullptr);
}

TEST_F(GatewayContract, ItemCheckListsTheProductsThePromotionNeeds) {
    ask(itemCheckStatement("PM001"));
    std::vector<std::string> ids = column(reply, "PROD_ID");
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()), (std::set<std::string>{"P001", "P003"}));
    EXPECT_NE(reply.findField("LOWER_PRICE"), nullptr);
}

TEST_F(GatewayContract, SupplierListHasItsFourFieldsInOrder) {
    ask(supplierStatement());
    EXPECT_EQ(fieldNames(reply), (std::vector<std::string>{"PROVIDER_ID", "PROVIDER_NAME",
                                                            "PROVIDER_PHONE", "BUSINESS_NUM"}));
    EXPECT_EQ(column(reply, "PROVIDER_ID"), (std::vector<std::string>{"V001", "V002", "V003"}));
    reply.first();
    EXPECT_EQ(reply.fieldByName("PROVIDER_NAME").asString(), supplierName());
}

TEST_F(GatewayContract, RefusalsAndDatabaseErrorsArriveAsResultTextsAndWriteNothing) {
    auto replyTo = [&](const std::string& statement) -> std::string {
        try {
            ask(statement);
        } catch (const Error& e) {
            return e.what();
        }
        return "answered";
    };
    EXPECT_EQ(replyTo(lines({"DELETE FROM CUSTOMER"})),
              "<RESULT>Only a SELECT statement is accepted</RESULT>");
    EXPECT_EQ(replyTo(lines({"SELECT * FROM PROVIDER; DELETE FROM CUSTOMER"})),
              "<RESULT>Only one statement is accepted</RESULT>");

    std::string error = replyTo(lines({"SELECT NO_SUCH_COLUMN FROM CUSTOMER"}));
    EXPECT_TRUE(error.starts_with("<RESULT>")) << error;
    EXPECT_TRUE(error.ends_with("</RESULT>")) << error;
    EXPECT_NE(error.find("NO_SUCH_COLUMN"), std::string::npos) << error;

    ask(signInStatement("LOGINID", "1234"));
    EXPECT_EQ(reply.recordCount(), 1);
}

TEST_F(GatewayContract, AWrongAccountIsRefused) {
    const std::string dir = gateway->folder() + "/wrong-account";
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/httpset.ini", std::ios::binary)
        << "[set]\r\nhost=127.0.0.1\r\nport=" << gateway->port()
        << "\r\nuser_name=SYSDBA\r\npassword=guess\r\n";
    gateway::TDataModHttp wrong(dir, dir, dialogs, 60000);
    try {
        wrong.OpenRemoteQuery(reply, signInStatement("LOGINID", "1234"));
        FAIL() << "answered";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "<RESULT>Invalid user name or password</RESULT>");
    }
    EXPECT_FALSE(reply.active());
}
