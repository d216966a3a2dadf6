// The product download against a real head-office gateway and a store database file: what
// is listed, with which values, and how a failure leaves the product dataset.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "canned_http_server.h"
#include "gateway_process.h"
#include "shared_gateway.h"
#include "storedb/product_record.h"
#include "store_workflows.h"
#include "text/cp950.h"
#include "text/errors.h"
#include "text/local_date.h"

namespace qor::test {
namespace {

std::string quoted(const std::string& value) {
    std::string out = "'";
    for (char c : value) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

// The store has "4711001" as a barcode, "4711002" as a code, "4711003" as a sales barcode
// and "O'K-1" as a barcode; the code tables name V01, C1, A01 and the fresh-goods category.
std::string storeRows() {
    return "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE) VALUES ('S001', '4711001');\n"
           "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE) VALUES ('4711002', '8880002');\n"
           "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE) VALUES ('S004', 'O''K-1');\n"
           "INSERT INTO PROD_SALE (PROD_ID, SAL_BARCODE) VALUES ('S001', '4711003');\n"
           "INSERT INTO PROD_ITEM VALUES ('0109099', " + quoted(QOR_BIG5("生鮮蔬果")) + ");\n"
           "INSERT INTO PROD_ITEM VALUES ('A01', 'Drinks');\n"
           "INSERT INTO PROD_CLASS VALUES ('C1', 'Cold');\n"
           "INSERT INTO PROVIDER VALUES ('V01', " + quoted(QOR_BIG5("四季食品行")) + ");\n";
}

struct HeadOfficeProduct {
    std::string id, barcode;
    int daysAgo = 0;            // CHG_DATE
    std::string stockQty = "Y";
    std::string vipPrice = "45";
};

std::string insertOf(const HeadOfficeProduct& p) {
    return "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE, "
           "SALE_PRICE, STD_COST, P_LTCOST, PROVIDER_ID, PROVIDER_NAME, PD_ITEMID, PD_ITEMNAME, "
           "PD_CLASSID, PD_CLASSNAME, STOCK_QTY, CR_DATE, CHG_DATE, SAFE_DAY) VALUES (" +
           quoted(p.id) + ", " + quoted(p.barcode) + ", " + quoted(QOR_BIG5("蘋果汁")) +
           ", 49, " + p.vipPrice + ", 55, 30.5, 28, 'V01', 'HO supplier', 'A01', 'HO item', "
           "'C1', 'HO class', " + quoted(p.stockQty) + ", '2001/02/03', " +
           quoted(p.daysAgo < 0 ? "2000/01/01" : text::localDateText(p.daysAgo)) + ", 7);\n";
}

// H1..H4 are in the store (by barcode, by code, by sales barcode, by a barcode with a
// quote); the others are new to it.
std::string headOfficeRows() {
    std::string sql;
    for (const HeadOfficeProduct& p : std::vector<HeadOfficeProduct>{
             {"H1", "4711001"}, {"H2", "4711002"}, {"H3", "4711003"}, {"H4", "O'K-1"},
             {"H5", "4711005"}, {"H6", "47'06"}, {"H7", "4711007", 1}, {"H8", "4711008", 2},
             {"H9", "4711009", -1, "N"},          // fresh goods, changed long ago
             {"H11", "4711011", 10, "Y", "NULL"},  // no member price
         })
        sql += insertOf(p);
    return sql;
}

class ProductDownload : public qor::test::SharedGateway<ProductDownload> {
protected:
    static void SetUpTestSuite() { startGateway(headOfficeRows()); }

    void SetUp() override { w = std::make_unique<StoreWorkflows>(storeRows(), gateway->port()); }

    void press(const std::string& days, bool freshGoods = false) {
        w->dialogs.handle([&] { w->products.download(days, freshGoods); });
    }

    ds::Dataset& products() { return w->objects.CDS_PRODUCT; }
    std::string text(const char* field) { return products().fieldByName(field).asString(); }

    // The codes listed, in listing order.
    std::vector<std::string> listed() {
        std::vector<std::string> codes;
        for (products().first(); !products().eof(); products().next()) codes.push_back(text("PROD_ID"));
        return codes;
    }
    std::set<std::string> listedSet() {
        const auto codes = listed();
        return {codes.begin(), codes.end()};
    }
    void goTo(const std::string& code) {
        ASSERT_TRUE(products().locate("PROD_ID", code, {})) << code;
    }

    std::unique_ptr<StoreWorkflows> w;
};


TEST_F(ProductDownload, ListsOnlyTheProductsTheStoreLacksByBarcodeCodeOrSalesBarcode) {
    press("7");
    EXPECT_TRUE(w->dialogs.boxes.empty());
    // A quote in a barcode is asked for as it is: "O'K-1" is found, "47'06" is listed.
    EXPECT_EQ(listedSet(), (std::set<std::string>{"4711005", "47'06", "4711007", "4711008"}));
    EXPECT_EQ(products().state(), ds::DataSetState::Browse);
    EXPECT_TRUE(w->source.eof());
}

TEST_F(ProductDownload, AListedRowCarriesTheHeadOfficeValuesWithItsBarcodeAsCodeAndTodaysDates) {
    press("7");
    goTo("4711005");
    EXPECT_EQ(text("PROD_BARCODE"), "4711005");
    EXPECT_EQ(text("PROD_NAME"), QOR_BIG5("蘋果汁"));
    EXPECT_EQ(text("CR_DATE"), text::localDateText(0));
    EXPECT_EQ(text("CHG_DATE"), text::localDateText(0));
    EXPECT_EQ(text("PD_ITEMID"), "");
    EXPECT_EQ(text("PD_ITEMNAME"), "");
    EXPECT_EQ(text("PROVIDER_NAME"), "HO supplier");
    EXPECT_EQ(text("PD_CLASSNAME"), "HO class");
    EXPECT_DOUBLE_EQ(products().fieldByName("STD_COST").asFloat(), 30.5);
    EXPECT_EQ(products().fieldByName("SAFE_DAY").asInteger(), 7);
    EXPECT_TRUE(products().fieldByName("NOW_QTY").isNull());
}

TEST_F(ProductDownload, ANameFilledByItsCodesValidationIsThenOverwrittenByTheSource) {
    std::vector<std::string> supplierNames;
    // Every value the name is given, in order (a field's check sees the value it is given).
    products().fieldByName("PROVIDER_NAME").onValidate = [&](ds::Field& field) {
        if (text("PROD_BARCODE") == "4711005") supplierNames.push_back(field.asString());
    };
    press("0");
    EXPECT_EQ(supplierNames, (std::vector<std::string>{QOR_BIG5("四季食品行"), "HO supplier"}));
}

TEST_F(ProductDownload, FreshGoodsStartInTheFreshCategoryWithTheEightPricesAtZero) {
    press("abc", true);  // no date condition: H9 changed long ago
    ASSERT_EQ(listed(), std::vector<std::string>{"4711009"});
    EXPECT_EQ(text("PD_ITEMID"), "0109099");
    EXPECT_EQ(text("PD_ITEMNAME"), QOR_BIG5("生鮮蔬果"));
    for (const char* price : {"P_LTCOST", "SALE_PRICE", "PSALE_PRICE", "VIP_PRICE", "CR_PRICE",
                              "P_PRICE", "P_PRICE2", "N_PRICE"}) {
        EXPECT_FALSE(products().fieldByName(price).isNull()) << price;
        EXPECT_EQ(products().fieldByName(price).asFloat(), 0) << price;
    }
    EXPECT_DOUBLE_EQ(products().fieldByName("STD_COST").asFloat(), 30.5);
}

TEST_F(ProductDownload, TheDayCountIsOneUnlessEdDayHoldsAWholeNumber) {
    const std::set<std::string> sinceYesterday{"4711005", "47'06", "4711007"};
    press("abc");
    EXPECT_EQ(listedSet(), sinceYesterday);
    press("");
    EXPECT_EQ(listedSet(), sinceYesterday);
    press("0");
    EXPECT_EQ(listedSet(), (std::set<std::string>{"4711005", "47'06"}));
    EXPECT_TRUE(w->dialogs.boxes.empty());
}

TEST_F(ProductDownload, AReplyWithoutRowsLeavesTheProductsOpenAndEmpty) {
    press("-1");  // a cut-off tomorrow
    EXPECT_TRUE(w->dialogs.boxes.empty());
    EXPECT_TRUE(products().active());
    EXPECT_TRUE(products().isEmpty());
}

TEST_F(ProductDownload, AnEmptyReplyListsNothing) {
    press("7");
    CannedHttpServer empty(CannedHttpServer::okReply(""));
    w->connectTo(empty.port());
    press("7");
    EXPECT_TRUE(w->dialogs.boxes.empty());
    EXPECT_FALSE(w->source.active());
    EXPECT_TRUE(products().active());
    EXPECT_TRUE(products().isEmpty());
}

// The first safe point comes while the store's keys are read: a stop there lists nothing,
// says nothing and leaves nothing open; the next press lists as ever.
TEST_F(ProductDownload, AStopWhileTheStoreIsLearntListsNothingAndTheNextPressLists) {
    press("abc");
    const std::set<std::string> all = listedSet();
    w->progress.stopAt = [](ProgressUnit unit, std::uint64_t) {
        return unit == ProgressUnit::Rows;
    };
    press("abc");
    EXPECT_TRUE(w->dialogs.boxes.empty());
    EXPECT_TRUE(products().active());
    EXPECT_TRUE(products().isEmpty());
    EXPECT_FALSE(w->objects.SQLQuery1.active());
    w->progress.stopAt = nullptr;
    press("abc");
    EXPECT_EQ(listedSet(), all);
}

TEST_F(ProductDownload, ASecondPressDropsTheRowsOfTheFirst) {
    press("7", true);
    products().fieldByName("PROD_NAME").setAsString("edited, not imported");
    press("7");
    EXPECT_EQ(products().recordCount(), 4);
    EXPECT_EQ(listedSet().count("4711009"), 0u);
}

TEST_F(ProductDownload, ARowWithoutAMemberPriceStopsTheListingInInsertState) {
    press("20");
    ASSERT_EQ(w->dialogs.boxes.size(), 1u);
    EXPECT_EQ(w->dialogs.boxes[0].kind, Box::Error);
    EXPECT_EQ(w->dialogs.boxes[0].text, "Field '" + QOR_BIG5("會員售價") + "' must have a value");
    EXPECT_EQ(products().state(), ds::DataSetState::Insert);
    EXPECT_EQ(text("PROD_ID"), "4711011");
    EXPECT_EQ(w->source.fieldByName("PROD_BARCODE").asString(), "4711011");

    // Every new product the source held before the failing one stays listed.
    const std::set<std::string> fresh{"4711005", "47'06", "4711007", "4711008"};
    const int failingRow = w->source.recNo();
    int before = 0;
    for (w->source.first(); w->source.recNo() < failingRow; w->source.next())
        before += int(fresh.count(w->source.fieldByName("PROD_BARCODE").asString()));
    EXPECT_EQ(products().recordCount(), before);
}

TEST_F(ProductDownload, TheImportControlsFollowWhetherTheStoreHasTheCurrentRow) {
    std::vector<bool> told;
    w->products.onImportControls = [&](bool lacking) { told.push_back(lacking); };
    press("0");
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(told.back());  // the post of the last listed row: the store lacks it

    // The store gains the current row's product; the next state change finds it.
    auto& write = w->objects.SQLQuery1;
    write.close();
    write.clearSql();
    write.addLine("INSERT INTO PRODUCT (PROD_ID) VALUES (:PROD_ID)");
    write.paramByName("PROD_ID").setAsString(text("PROD_ID"));
    write.execSql();
    products().edit();
    EXPECT_FALSE(told.back());
}

// The reconciliation called directly, as the promotion item check calls it, over sources
// a head-office gateway does not give.
class ProductReconciliation : public ProductDownload {
protected:
    // One row per barcode, every field of the product record but `without`.
    void loadSource(const std::vector<std::string>& barcodes, const std::string& without = {},
                    int barcodeWidth = 20) {
        ds::Table table;
        for (const auto& field : storedb::productFields()) {
            if (field.name == without) continue;
            const int size = std::string(field.name) == "PROD_BARCODE" ? barcodeWidth : field.size;
            table.columns.push_back({field.name, field.kind, size, 0, false, false});
        }
        for (const auto& barcode : barcodes) {
            ds::Row row(table.columns.size());
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                const std::string& name = table.columns[c].name;
                if (name == "PROD_BARCODE") row[c] = barcode;
                if (name == "PROD_NAME") row[c] = "name of " + barcode;
                if (name == "PSALE_PRICE" || name == "VIP_PRICE") row[c] = 10.0;
            }
            table.rows.push_back(std::move(row));
        }
        w->source.openWith(std::move(table));
    }
    void reconcile() { w->products.listLacking(w->source, false); }
};

TEST_F(ProductReconciliation, ListsInSourceOrderAndCutsABarcodeLongerThanTheCode) {
    const std::string longBarcode = "4711001" + std::string(18, '9');  // 25 bytes
    loadSource({"B-NEW", "4711001", longBarcode, "A-NEW"}, {}, 30);
    reconcile();
    EXPECT_EQ(listed(), (std::vector<std::string>{"B-NEW", longBarcode.substr(0, 20), "A-NEW"}));
}

TEST_F(ProductReconciliation, ASourceWithoutARecordFieldStopsInTheCopy) {
    loadSource({"4711001", "NEW-1"}, "PUT_IT");
    try {
        reconcile();
        FAIL() << "reconciled without PUT_IT";
    } catch (const qor::Error& e) {
        EXPECT_STREQ(e.what(), "CDS_Source: Field 'PUT_IT' not found");
    }
    EXPECT_EQ(products().state(), ds::DataSetState::Insert);
    EXPECT_EQ(products().recordCount(), 0);
    EXPECT_EQ(text("PROD_NAME"), "name of NEW-1");  // copied before the missing field
    EXPECT_TRUE(products().fieldByName("PROD_ID").isNull());
}

}  // namespace
}  // namespace qor::test
