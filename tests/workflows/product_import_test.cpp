// Importing listed products into a store database file: what one import writes, what it
// passes over or refuses, and how import-all stops at the first failure with the rows before
// it committed (or at a stop between rows).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "canned_http_server.h"
#include "listed_products.h"
#include "storedb/product_record.h"
#include "store_workflows.h"
#include "text/cp950.h"

namespace qor::test {
namespace {

using Codes = std::vector<std::string>;

class ProductImport : public ::testing::Test {
protected:
    // No gateway is asked: the rows are listed as a download lists them.
    void SetUp() override { w = std::make_unique<StoreWorkflows>(editorStoreRows(), closedPort()); }

    void list(const std::vector<ListedRow>& rows) { listProducts(products(), rows); }
    void importCurrent() { w->dialogs.handle([&] { w->import.importCurrent(); }); }
    void importAll() { w->dialogs.handle([&] { w->import.importAll(); }); }

    std::vector<ds::Row> storeRows(const std::string& sql) { return storeRowsOf(w->paths, sql); }
    Codes storedCodes() {
        Codes codes;
        for (const ds::Row& row : storeRows("SELECT PROD_ID FROM PRODUCT ORDER BY PROD_ID"))
            codes.push_back(std::get<std::string>(row[0]));
        return codes;
    }

    ds::Dataset& products() { return w->objects.CDS_PRODUCT; }
    ds::Field& field(const char* name) { return products().fieldByName(name); }

    std::unique_ptr<StoreWorkflows> w;
};

TEST_F(ProductImport, AnImportWritesEveryColumnNoneOfThemNull) {
    list({{"N1", "A01"}});
    importCurrent();
    EXPECT_TRUE(w->dialogs.boxes.empty());
    const std::vector<ds::Row> rows = storeRows("SELECT * FROM PRODUCT WHERE PROD_ID = 'N1'");
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].size(), storedb::productFields().size());
    for (std::size_t c = 0; c < rows[0].size(); ++c)
        EXPECT_FALSE(ds::isNull(rows[0][c])) << storedb::productFields()[c].name;
    const auto column = [&](const char* name) {
        for (std::size_t c = 0; c < storedb::productFields().size(); ++c)
            if (std::string(storedb::productFields()[c].name) == name) return rows[0][c];
        return ds::Value{};
    };
    EXPECT_EQ(column("NOW_QTY"), ds::Value(0.0));
    EXPECT_EQ(column("SAFE_DAY"), ds::Value(std::int64_t{0}));
    EXPECT_EQ(column("PROD_NAME"), ds::Value(std::string()));
    EXPECT_EQ(column("PD_ITEMNAME"), ds::Value(std::string("Drinks")));
    EXPECT_EQ(column("PSALE_PRICE"), ds::Value(49.0));
}

TEST_F(ProductImport, ACodeTheStoreHasIsPassedOverAndACategoryItLacksIsWarned) {
    list({{"S001", ""}, {"N2", ""}, {"N3", "ZZ"}});
    importCurrent();  // in the store: nothing, not even about its category
    EXPECT_TRUE(w->dialogs.boxes.empty());
    products().next();
    importCurrent();
    products().next();
    importCurrent();
    ASSERT_EQ(w->dialogs.boxes.size(), 2u);
    for (const Box& box : w->dialogs.boxes) {
        EXPECT_EQ(box.kind, Box::Warning);
        EXPECT_EQ(box.text, QOR_BIG5("分類未設置..!"));
    }
    EXPECT_EQ(storedCodes(), Codes{"S001"});
    EXPECT_EQ(storeRows("SELECT PROD_NAME FROM PRODUCT")[0][0], ds::Value(std::string("Kept")));
}

// The run ends on the row that fails, the rows before it committed before the box shows.
TEST_F(ProductImport, ImportAllStopsAtTheFirstFailureAfterCommittingTheRowsBefore) {
    struct Run {
        const char* failing;  // the second row's code and category
        const char* category;
        Box::Kind box;
        const char* text;
    };
    for (const Run& run : {Run{"N2", "", Box::Warning, "分類未設置..!"},
                           Run{"BAD", "A01", Box::Error, "refused by the store"}}) {
        w = std::make_unique<StoreWorkflows>(editorStoreRows(), closedPort());
        list({{"N1", "A01"}, {run.failing, run.category}, {"N3", "A01"}});
        Codes atTheBox;
        w->dialogs.onBox = [&] { atTheBox = storedCodes(); };
        importAll();
        ASSERT_EQ(w->dialogs.boxes.size(), 1u) << run.failing;
        EXPECT_EQ(w->dialogs.boxes[0].kind, run.box) << run.failing;
        EXPECT_NE(w->dialogs.boxes[0].text.find(text::utf8ToCp950(run.text)), std::string::npos);
        EXPECT_EQ(atTheBox, (Codes{"N1", "S001"})) << run.failing;
        EXPECT_EQ(storedCodes(), (Codes{"N1", "S001"})) << run.failing;
        EXPECT_EQ(field("PROD_ID").asString(), run.failing);
        EXPECT_FALSE(w->objects.SQLConnection1.inTransaction());
    }
    // The store keeps working on that connection: the rest goes in one at a time.
    products().next();
    importCurrent();
    EXPECT_EQ(storedCodes(), (Codes{"N1", "N3", "S001"}));
}

TEST_F(ProductImport, ImportAllStoppedBetweenRowsKeepsTheRowsBeforeCommittedAndSaysNothing) {
    list({{"N1", "A01"}, {"N2", "A01"}, {"N3", "A01"}, {"N4", "A01"}});
    w->progress.stopAt = [](ProgressUnit, std::uint64_t done) { return done == 2; };
    importAll();
    EXPECT_TRUE(w->dialogs.boxes.empty());
    EXPECT_EQ(storedCodes(), (Codes{"N1", "N2", "S001"}));
    EXPECT_EQ(field("PROD_ID").asString(), "N3");  // the row not imported
    EXPECT_FALSE(w->objects.SQLConnection1.inTransaction());

    w->progress.stopAt = nullptr;  // the next run passes over what is in and writes the rest
    importAll();
    EXPECT_TRUE(w->dialogs.boxes.empty());
    EXPECT_EQ(storedCodes(), (Codes{"N1", "N2", "N3", "N4", "S001"}));
}

TEST_F(ProductImport, ImportAllWritesACodeListedTwiceOnce) {
    list({{"D1", "A01"}, {"D1", "A02"}, {"D2", "A02"}});
    importAll();
    EXPECT_TRUE(w->dialogs.boxes.empty());
    EXPECT_EQ(storedCodes(), (Codes{"D1", "D2", "S001"}));
    EXPECT_EQ(storeRows("SELECT PD_ITEMID FROM PRODUCT WHERE PROD_ID = 'D1'")[0][0],
              ds::Value(std::string("A01")));
}

}  // namespace
}  // namespace qor::test
