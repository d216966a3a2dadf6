// Read look-ups and parameterised writes on a real store database, Big5 text included.
#include <gtest/gtest.h>

#include "storedb_fixture.h"
#include "text/cp950.h"
#include "text/errors.h"

namespace qor::storedb::testing {
namespace {

constexpr const char* kProducts =
    "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE, SAFE_DAY)"
    " VALUES ('P001', '4710001', 'Tea', 25, 22.5, 3);"
    "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE)"
    " VALUES ('P002', '4710002', NULL, 0.1, 1E20);"
    "INSERT INTO PROD_SALE (PROD_ID, SAL_BARCODE) VALUES ('P001', '9990001');";

class QueryTest : public StoreDbTest {
protected:
    QueryTest() : StoreDbTest(kProducts), connection_(makeConnection()), query_("SQLQuery1", *connection_) {}

    std::unique_ptr<SqlConnection> connection_;
    SqlQuery query_;
};

TEST_F(QueryTest, AColumnOfAnEmptyResultReadsAsEmptyText) {
    EXPECT_EQ(lookUp(query_, "SELECT * FROM PROD_ITEM WHERE PD_ITEMID = 'none'", "PD_ITEMNAME"), "");
    EXPECT_TRUE(query_.isEmpty());
    EXPECT_TRUE(query_.eof());
}

TEST_F(QueryTest, ColumnsOfTheFirstRowByNameAsText) {
    query_.setSql("SELECT * FROM PRODUCT ORDER BY PROD_ID");
    query_.open();
    EXPECT_FALSE(query_.isEmpty());
    EXPECT_EQ(query_.fieldText("prod_id"), "P001");
    EXPECT_EQ(query_.fieldText("PSALE_PRICE"), "25");
    EXPECT_EQ(query_.fieldText("VIP_PRICE"), "22.5");
    EXPECT_EQ(query_.fieldText("SAFE_DAY"), "3");
    EXPECT_EQ(query_.fieldText("NOW_QTY"), "");  // a null
    query_.next();
    EXPECT_EQ(query_.fieldText("PROD_ID"), "P002");
    EXPECT_EQ(query_.fieldText("PSALE_PRICE"), "0.1");
    EXPECT_EQ(query_.fieldText("VIP_PRICE"), "1E20");
    EXPECT_EQ(query_.fieldText("PROD_NAME"), "");
    query_.next();
    EXPECT_TRUE(query_.eof());
}

TEST_F(QueryTest, AColumnTheResultLacksIsAnError) {
    query_.setSql("SELECT PROD_ID FROM PRODUCT");
    query_.open();
    try {
        query_.fieldText("PROD_NAME");
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "SQLQuery1: Field 'PROD_NAME' not found");
    }
}

TEST_F(QueryTest, TheResultStaysOpenUntilTheNextUse) {
    query_.setSql("SELECT PROD_ID FROM PROD_SALE WHERE SAL_BARCODE = '9990001'");
    query_.open();
    EXPECT_TRUE(query_.active());
    EXPECT_EQ(query_.fieldText("PROD_ID"), "P001");
    EXPECT_EQ(query_.fieldText("PROD_ID"), "P001");
    query_.clearSql();
    EXPECT_FALSE(query_.active());
    try {
        query_.isEmpty();
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "SQLQuery1: Cannot perform this operation on a closed dataset");
    }
}

TEST_F(QueryTest, ARefusedStatementGivesTheDatabasesTextAndTheNextOneRuns) {
    // A barcode holding a quote breaks the look-up; the next look-up works again.
    query_.setSql("SELECT PROD_ID FROM PRODUCT WHERE PROD_BARCODE = 'it's'");
    EXPECT_THROW(query_.open(), Error);
    EXPECT_FALSE(query_.active());
    EXPECT_EQ(lookUp(query_, "SELECT PROD_ID FROM PRODUCT WHERE PROD_ID = 'P001'", "PROD_ID"), "P001");
}

TEST_F(QueryTest, OpenTableReturnsEveryRow) {
    query_.setSql("SELECT PROD_ID, PROD_NAME FROM PRODUCT ORDER BY PROD_ID");
    ds::Table table = query_.openTable();
    ASSERT_EQ(table.columns.size(), 2u);
    EXPECT_EQ(table.columns[0].name, "PROD_ID");
    EXPECT_EQ(table.columns[0].kind, ds::FieldKind::String);
    EXPECT_EQ(table.columns[0].size, 20);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[1][0], ds::Value(std::string("P002")));
    EXPECT_EQ(table.rows[1][1], ds::Value{});
    EXPECT_FALSE(query_.active());
}

TEST_F(QueryTest, AStatementWithoutTextIsRefused) {
    query_.clearSql();
    EXPECT_THROW(query_.open(), Error);
    EXPECT_THROW(query_.execSql(), Error);
}

TEST_F(QueryTest, Big5TextIsWrittenAndReadBackByteForByte) {
    // 商品資料, then three characters whose second byte is a backslash.
    const std::string name = QOR_BIG5("商品資料許功蓋");
    ASSERT_EQ(name.size(), 14u);
    query_.close();
    query_.clearSql();
    query_.addLine("INSERT INTO PROD_ITEM (PD_ITEMID, PD_ITEMNAME)");
    query_.addLine(" VALUES (:PD_ITEMID, :PD_ITEMNAME) ");
    query_.paramByName("PD_ITEMID").setAsString("0109099");
    query_.paramByName("PD_ITEMNAME").setAsString(name);
    query_.execSql();

    EXPECT_EQ(lookUp(query_, "SELECT * FROM PROD_ITEM WHERE PD_ITEMID = '0109099'", "PD_ITEMNAME"), name);
    // A literal in the statement text reaches the database as the same bytes.
    EXPECT_EQ(lookUp(query_, "SELECT PD_ITEMID FROM PROD_ITEM WHERE PD_ITEMNAME = '" + name + "'",
                     "PD_ITEMID"),
              "0109099");
}

TEST_F(QueryTest, TheImportStatementShapeWritesEveryParameter) {
    query_.close();
    query_.clearSql();
    query_.addLine("INSERT INTO PRODUCT (PROD_ID,PROD_NAME,NOW_QTY,SAFE_DAY )");
    query_.addLine(" VALUES (:PROD_ID,:PROD_NAME,:NOW_QTY,:SAFE_DAY ) ");
    ASSERT_EQ(query_.params().count(), 4);
    setParamFromFieldText(query_.paramByName("PROD_ID"), ds::FieldKind::String, "P003");
    setParamFromFieldText(query_.paramByName("PROD_NAME"), ds::FieldKind::String, "");
    setParamFromFieldText(query_.paramByName("NOW_QTY"), ds::FieldKind::Float, "");
    setParamFromFieldText(query_.paramByName("SAFE_DAY"), ds::FieldKind::Integer, "");
    EXPECT_EQ(query_.execSql(), 1);

    query_.setSql("SELECT * FROM PRODUCT WHERE PROD_ID = 'P003'");
    query_.open();
    // No column is written as NULL.
    EXPECT_EQ(query_.fieldValue("PROD_NAME"), ds::Value(std::string()));
    EXPECT_EQ(query_.fieldValue("NOW_QTY"), ds::Value(0.0));
    EXPECT_EQ(query_.fieldValue("SAFE_DAY"), ds::Value(std::int64_t{0}));
}

}  // namespace
}  // namespace qor::storedb::testing
