// Provider chains on a real store database: the product record's binding, packets of 1000
// rows, command texts, and the four lookup lists.
#include <gtest/gtest.h>

#include "error_text.h"
#include "storedb/lookup_datasets.h"
#include "storedb/product_record.h"
#include "storedb/store_objects.h"
#include "storedb_fixture.h"
#include "text/cp950.h"
#include "text/errors.h"

namespace qor::storedb::testing {
namespace {

std::string openError(ds::Dataset& dataset) {
    return test::errorOf([&] { dataset.open(); });
}

// ---- the product record as declared

TEST(ProductRecord, NinetySixFieldsInRecordOrder) {
    auto fields = productFields();
    ASSERT_EQ(fields.size(), 96u);
    EXPECT_STREQ(fields[0].name, "PROD_ID");
    EXPECT_STREQ(fields[11].name, "PROVIDER_ID");
    EXPECT_STREQ(fields[35].name, "PD_ITEMID");
    EXPECT_STREQ(fields[95].name, "LOWER_PRICE");

    ds::Dataset dataset("CDS_PRODUCT");
    declareProductFields(dataset);
    ASSERT_EQ(dataset.fieldCount(), 96);
    int required = 0;
    for (int i = 0; i < 96; ++i) {
        EXPECT_EQ(dataset.field(i).fieldName(), fields[static_cast<std::size_t>(i)].name);
        if (dataset.field(i).required()) ++required;
    }
    EXPECT_EQ(required, 3);
    EXPECT_TRUE(dataset.fieldByName("VIP_PRICE").required());
    EXPECT_EQ(dataset.fieldByName("PSALE_PRICE").displayLabel(), QOR_BIG5("門市售價"));
    EXPECT_EQ(dataset.fieldByName("PHOTO_PATH").size(), 200);
    EXPECT_EQ(dataset.fieldByName("PD_CLASSID").size(), 5);
    EXPECT_EQ(dataset.fieldByName("IN_TAG").kind(), ds::FieldKind::Integer);
    EXPECT_EQ(dataset.fieldByName("U_DIS").kind(), ds::FieldKind::Float);
    // Unlabelled fields are titled by their names.
    EXPECT_EQ(dataset.fieldByName("FLAG").displayLabel(), "FLAG");
    EXPECT_EQ(dataset.fieldByName("P_LTCOST").displayLabel(), "P_LTCOST");
    EXPECT_EQ(dataset.fieldByName("WEB_SHOW").displayLabel(), QOR_BIG5("WEB展示"));
    EXPECT_EQ(dataset.fieldByName("AVG_COST").displayFormat(), "#0.00");
    EXPECT_EQ(dataset.fieldByName("PUT_ID").editMask(), "!00-00-0;0;");
}

// ---- opening on the store schema

class ProductOpenTest : public StoreDbTest {
protected:
    explicit ProductOpenTest(const std::string& sql = {}) : StoreDbTest(sql) {}
};

TEST_F(ProductOpenTest, OpeningEmptyGivesTheDeclaredFieldsAndNoRows) {
    StoreObjects store(paths_);
    EXPECT_FALSE(store.CDS_PRODUCT.active());
    openProductEmpty(store.CDS_PRODUCT);
    EXPECT_EQ(store.CDS_PRODUCT.state(), ds::DataSetState::Browse);
    EXPECT_EQ(store.CDS_PRODUCT.fieldCount(), 96);
    EXPECT_EQ(store.CDS_PRODUCT.recordCount(), 0);
    EXPECT_EQ(store.CDS_PRODUCT.commandText(), "SELECT * FROM PRODUCT where PROD_ID = '-1' order by PROD_ID");
}

TEST_F(ProductOpenTest, PostedRowsNeverReachTheStore) {
    StoreObjects store(paths_);
    openProductEmpty(store.CDS_PRODUCT);
    store.CDS_PRODUCT.append();
    store.CDS_PRODUCT.fieldByName("PROD_ID").setAsString("NEW1");
    store.CDS_PRODUCT.fieldByName("PSALE_PRICE").setAsFloat(1);
    store.CDS_PRODUCT.fieldByName("VIP_PRICE").setAsFloat(1);
    store.CDS_PRODUCT.post();
    EXPECT_EQ(store.CDS_PRODUCT.recordCount(), 1);
    openProductEmpty(store.CDS_PRODUCT);
    EXPECT_EQ(store.CDS_PRODUCT.recordCount(), 0);
    EXPECT_EQ(lookUp(store.SQLQuery1, "SELECT COUNT(*) AS N FROM PRODUCT", "N"), "0");
}

class ProductMissingColumnTest : public ProductOpenTest {
protected:
    ProductMissingColumnTest() : ProductOpenTest("ALTER TABLE PRODUCT DROP PD_CLASSNAME;") {}
};

TEST_F(ProductMissingColumnTest, FailsNamingTheFieldsLabel) {
    StoreObjects store(paths_);
    store.CDS_PRODUCT.setCommandText(std::string(kOpenProductEmptySql));
    EXPECT_EQ(openError(store.CDS_PRODUCT), "CDS_PRODUCT: Field '" + QOR_BIG5("屬性") + "' not found");
    EXPECT_FALSE(store.CDS_PRODUCT.active());
}

class ProductTypeMismatchTest : public ProductOpenTest {
protected:
    ProductTypeMismatchTest()
        : ProductOpenTest("ALTER TABLE PRODUCT DROP SAFE_DAY; ALTER TABLE PRODUCT ADD SAFE_DAY VARCHAR(5);") {}
};

TEST_F(ProductTypeMismatchTest, FailsNamingBothKinds) {
    StoreObjects store(paths_);
    store.CDS_PRODUCT.setCommandText(std::string(kOpenProductEmptySql));
    EXPECT_EQ(openError(store.CDS_PRODUCT),
              "CDS_PRODUCT: Type mismatch for field '" + QOR_BIG5("安全天數") +
                  "', expecting: Integer actual: String");
    EXPECT_FALSE(store.CDS_PRODUCT.active());
}

class ProductNarrowColumnTest : public ProductOpenTest {
protected:
    ProductNarrowColumnTest()
        : ProductOpenTest("ALTER TABLE PRODUCT DROP PROD_NAME; ALTER TABLE PRODUCT ADD PROD_NAME VARCHAR(12);"
                          "ALTER TABLE PRODUCT ADD EXTRA_COL VARCHAR(5);") {}
};

TEST_F(ProductNarrowColumnTest, ANarrowerTextColumnLowersTheFieldsSizeForGood) {
    StoreObjects store(paths_);
    openProductEmpty(store.CDS_PRODUCT);
    EXPECT_EQ(store.CDS_PRODUCT.fieldByName("PROD_NAME").size(), 12);
    // Columns without a declared field are not fields of the dataset.
    EXPECT_EQ(store.CDS_PRODUCT.fieldCount(), 96);
    EXPECT_EQ(store.CDS_PRODUCT.findField("EXTRA_COL"), nullptr);
    openProductEmpty(store.CDS_PRODUCT);
    EXPECT_EQ(store.CDS_PRODUCT.fieldByName("PROD_NAME").size(), 12);
}

// ---- packets of 1000 rows

class ProductFetchTest : public ProductOpenTest {
protected:
    ProductFetchTest() : ProductOpenTest(test::kStoreOf2500Products) {}
};

TEST_F(ProductFetchTest, RowsFollowAThousandAtATimeAsTheUserMovesOn) {
    StoreObjects store(paths_);
    store.CDS_PRODUCT.setCommandText("SELECT * FROM PRODUCT ORDER BY PROD_ID");
    store.CDS_PRODUCT.open();
    EXPECT_EQ(store.CDS_PRODUCT.recordCount(), 1000);

    int seen = 0;
    std::string lastId;
    for (store.CDS_PRODUCT.first(); !store.CDS_PRODUCT.eof(); store.CDS_PRODUCT.next()) {
        ++seen;
        if (seen == 1001) {
            EXPECT_EQ(store.CDS_PRODUCT.recordCount(), 2000);
        }
        lastId = store.CDS_PRODUCT.fieldByName("PROD_ID").asString();
    }
    EXPECT_EQ(seen, 2500);
    EXPECT_EQ(lastId, "002499");
    EXPECT_EQ(store.CDS_PRODUCT.recordCount(), 2500);

    // Reopening starts over with the first packet.
    store.CDS_PRODUCT.close();
    store.CDS_PRODUCT.open();
    EXPECT_EQ(store.CDS_PRODUCT.recordCount(), 1000);
}

// A grid's fetch on demand: the next packet taken without moving the current row.
TEST_F(ProductFetchTest, EachFetchOnDemandTakesTheNextPacketAndLeavesTheCurrentRow) {
    StoreObjects store(paths_);
    ds::Dataset& products = store.CDS_PRODUCT;
    products.setCommandText("SELECT * FROM PRODUCT ORDER BY PROD_ID");
    products.open();
    int scrolls = 0;
    products.afterScroll = [&](ds::Dataset&) { ++scrolls; };
    products.moveTo(10);
    ASSERT_EQ(products.rowCount(), 1000);
    EXPECT_TRUE(products.canFetchMore());

    EXPECT_TRUE(products.fetchMore());
    EXPECT_EQ(products.rowCount(), 2000);
    EXPECT_EQ(products.displayTextAt(1999, products.fieldByName("PROD_ID")), "001999");
    EXPECT_TRUE(products.fetchMore());
    EXPECT_EQ(products.rowCount(), 2500);
    EXPECT_FALSE(products.canFetchMore());  // a short packet: the result is used up
    EXPECT_FALSE(products.fetchMore());
    EXPECT_EQ(products.currentRow(), 10);
    EXPECT_EQ(products.fieldByName("PROD_ID").asString(), "000010");
    EXPECT_EQ(scrolls, 1);
}

TEST_F(ProductFetchTest, TheCommandTextStaysTheQuerysStatementForLaterOpens) {
    StoreObjects store(paths_);
    // Without a command text the built-in statement runs: the first 1000 by code.
    store.CDS_PRODUCT.open();
    EXPECT_EQ(store.CDS_PRODUCT.recordCount(), 1000);
    store.CDS_PRODUCT.close();

    store.CDS_PRODUCT.setCommandText("SELECT * FROM PRODUCT WHERE PROD_ID < '000010'");
    store.CDS_PRODUCT.open();
    EXPECT_EQ(store.CDS_PRODUCT.recordCount(), 10);
    store.CDS_PRODUCT.close();

    store.CDS_PRODUCT.setCommandText("");
    store.CDS_PRODUCT.open();
    EXPECT_EQ(store.CDS_PRODUCT.recordCount(), 10);
}

TEST_F(ProductOpenTest, ACommandTextNeedsPoAllowCommandText) {
    StoreObjects store(paths_);
    store.DSP_PSaleMaster.setAllowCommandText(false);
    store.CDS_PsaleMaster.setCommandText("select * from psale_master where masterbillid = '-1' ");
    EXPECT_EQ(openError(store.CDS_PsaleMaster), "CommandText changes are not allowed");
    EXPECT_FALSE(store.CDS_PsaleMaster.active());

    store.DSP_PSaleMaster.setAllowCommandText(true);
    EXPECT_EQ(openError(store.CDS_PsaleMaster), "");
    // No field list of its own: one field per column of the table, in the table's order.
    EXPECT_EQ(store.CDS_PsaleMaster.fieldCount(), 16);
    EXPECT_EQ(store.CDS_PsaleMaster.field(0).fieldName(), "MASTERBILLID");
    EXPECT_EQ(store.CDS_PsaleMaster.field(15).fieldName(), "PRO_NO");
}

// ---- lookup lists

constexpr const char* kLookupRows =
    "INSERT INTO PROD_ITEM VALUES ('B2', 'Second');"
    "INSERT INTO PROD_ITEM VALUES ('A1', 'First');"
    "INSERT INTO PROVIDER VALUES ('S1', 'Supplier');"
    "INSERT INTO PROD_CLASS VALUES ('C1', 'Class');"
    "INSERT INTO PROD_UNIT VALUES ('BOX', 'Box');";

class LookupTest : public StoreDbTest {
protected:
    LookupTest() : StoreDbTest(kLookupRows) {}
};

TEST_F(LookupTest, EachListOpensWithItsTwoFields) {
    StoreObjects store(paths_);
    openIfClosed(store.CDS_PDITEM);
    ASSERT_EQ(store.CDS_PDITEM.fieldCount(), 2);
    EXPECT_EQ(store.CDS_PDITEM.recordCount(), 2);
    store.CDS_PDITEM.first();
    EXPECT_EQ(store.CDS_PDITEM.fieldByName("PD_ITEMID").asString(), "A1");
    EXPECT_EQ(store.CDS_PDITEM.fieldByName("PD_ITEMID").displayLabel(), QOR_BIG5("類別代號"));
    EXPECT_EQ(store.CDS_PDITEM.fieldByName("PD_ITEMNAME").displayWidth(), 20);
    EXPECT_TRUE(store.CDS_PDITEM.fieldByName("PD_ITEMID").required());
    EXPECT_FALSE(store.CDS_PDITEM.fieldByName("PD_ITEMNAME").required());

    openIfClosed(store.CDS_Provider);
    EXPECT_EQ(store.CDS_Provider.fieldByName("PROVIDER_NAME").asString(), "Supplier");
    EXPECT_EQ(store.CDS_Provider.fieldByName("PROVIDER_NAME").size(), 50);
    openIfClosed(store.CDS_PDCLASS);
    EXPECT_EQ(store.CDS_PDCLASS.fieldByName("PD_CLASSNAME").asString(), "Class");

    // "select *" brings every column; only the two listed ones are fields.
    openIfClosed(store.CDS_Unit);
    ASSERT_EQ(store.CDS_Unit.fieldCount(), 2);
    EXPECT_EQ(store.CDS_Unit.fieldByName("UNIT_ID").asString(), "BOX");
    EXPECT_EQ(store.CDS_Unit.fieldByName("UNITNAME").displayLabel(), QOR_BIG5("單位說明"));
}

TEST_F(LookupTest, AnOpenListIsNotRefreshed) {
    StoreObjects store(paths_);
    openIfClosed(store.CDS_PDITEM);
    store.SQLQuery1.setSql("INSERT INTO PROD_ITEM VALUES ('C3', 'Third')");
    store.SQLQuery1.execSql();
    openIfClosed(store.CDS_PDITEM);
    EXPECT_EQ(store.CDS_PDITEM.recordCount(), 2);
}

TEST_F(LookupTest, AListedFieldWithoutItsColumnFailsTheOpen) {
    StoreObjects store(paths_);
    store.SQL_Unit.setSql("select UNIT_ID from PROD_UNIT");
    EXPECT_EQ(openError(store.CDS_Unit), "CDS_Unit: Field '" + QOR_BIG5("單位說明") + "' not found");
    EXPECT_FALSE(store.CDS_Unit.active());
}

}  // namespace
}  // namespace qor::storedb::testing
