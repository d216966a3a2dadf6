// The store schema takes the program's statements through the driver; the database fixture
// makes and removes its files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fbdriver_plugin.h"

using namespace qor;
using namespace qor::fbtest;
namespace fs = std::filesystem;

namespace {

// The product record's columns in order: name, kind, size of texts.
struct RecordColumn {
    const char* name;
    ds::FieldKind kind;
    int size;
};
constexpr ds::FieldKind S = ds::FieldKind::String, F = ds::FieldKind::Float, I = ds::FieldKind::Integer;
const RecordColumn kProductRecord[] = {
    {"PROD_ID", S, 20}, {"PROD_ID2", S, 20}, {"PROD_BARCODE", S, 20}, {"PROD_NAME", S, 50},
    {"NOW_QTY", F, 0}, {"STD_COST", F, 0}, {"SALE_PRICE", F, 0}, {"PSALE_PRICE", F, 0},
    {"VIP_PRICE", F, 0}, {"P_PRICE", F, 0}, {"CR_PRICE", F, 0}, {"PROVIDER_ID", S, 10},
    {"PROVIDER_NAME", S, 50}, {"PROD_SCALE", S, 30}, {"PROD_SNAME", S, 20}, {"UNITNAME", S, 10},
    {"PACK1_QTY", F, 0}, {"PACK1", S, 10}, {"PACK1_BARCODE", S, 20}, {"PACK2_QTY", F, 0},
    {"PACK2", S, 10}, {"PACK2_BARCODE", S, 20}, {"PUT_IT", S, 10}, {"IN_PACK", S, 10},
    {"SAL_PACK", S, 10}, {"STOCK_QTY", S, 5}, {"FIRST_COST", F, 0}, {"AVG_COST", F, 0},
    {"MAVG_COST", F, 0}, {"IN_TAG", I, 0}, {"SAL_TAG", I, 0}, {"DEL_FLAG", S, 5},
    {"FLAG", S, 10}, {"HI_ITEMID", S, 10}, {"MID_ITEMID", S, 10}, {"PD_ITEMID", S, 10},
    {"PD_ITEMNAME", S, 20}, {"PD_CLASSID", S, 5}, {"PD_CLASSNAME", S, 10}, {"CR_DATE", S, 10},
    {"PHOTO_PATH", S, 200}, {"DESCRIPTION", S, 200}, {"SAFE_DAY", I, 0}, {"SAFE_QTY", I, 0},
    {"BEFORE_QTY", F, 0}, {"NEAR_INDATE", S, 10}, {"NEAR_SALDATE", S, 10}, {"ABC", S, 5},
    {"PT_CLASS", S, 2}, {"BILL_CLASS", S, 1}, {"MAKE_POINT", I, 0}, {"SHOW_QTY", S, 5},
    {"CHG_DATE", S, 10}, {"CHG_USER", S, 10}, {"TAX_KIND", S, 10}, {"BUY_CLASS", S, 10},
    {"MS", S, 1}, {"INI_DATE", S, 10}, {"END_DATE", S, 10}, {"PUT_ID", S, 10},
    {"P_PU", S, 1}, {"CHG_TIME", S, 10}, {"PRN_CODE_YN", S, 1}, {"P_PU2", S, 1},
    {"MEM_DISCOUNT", S, 1}, {"U_DIS", F, 0}, {"HEAD_NO", S, 20}, {"WEB_SHOW", S, 1},
    {"N_PRICE", F, 0}, {"P_PRICE2", F, 0}, {"NET_COST", F, 0}, {"ADD_COST", F, 0},
    {"PUT_FACE", F, 0}, {"PUT_X", F, 0}, {"PUT_Y", F, 0}, {"LEND_QTY", F, 0},
    {"FREE_TAX", F, 0}, {"SEND_YN", S, 1}, {"DE_RATE", F, 0}, {"ERN_RATE", F, 0},
    {"P_VALUE", F, 0}, {"PROVIDER_ID2", S, 10}, {"PROVIDER_NAME2", S, 50}, {"HEA_TAX", F, 0},
    {"DEF_PROFIT", F, 0}, {"E_NAME", S, 200}, {"PUBLISHER", S, 50}, {"AUTHOR", S, 50},
    {"RENDER", S, 20}, {"TAX_ITEM_NO", S, 10}, {"TAX_ITEM_NAME", S, 30}, {"POINT_YN", S, 1},
    {"PR_VALUE", F, 0}, {"P_LTCOST", F, 0}, {"STK_PRN", S, 1}, {"LOWER_PRICE", F, 0},
};

const std::string kCrlf = "\r\n";

TEST(FbDriverStoreSchema, ProductHasTheRecordsColumnsInOrder) {
    QOR_SKIP_WITHOUT_TEST_DATABASE();
    test::TempDatabase db;
    auto connection = connectTo(db.path());
    auto cursor = connection->query("SELECT * FROM PRODUCT where PROD_ID = '-1' order by PROD_ID", {});
    const auto& columns = cursor->columns();
    ASSERT_EQ(columns.size(), std::size(kProductRecord));
    for (size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].name, kProductRecord[i].name);
        EXPECT_EQ(columns[i].kind, kProductRecord[i].kind) << kProductRecord[i].name;
        EXPECT_EQ(columns[i].size, kProductRecord[i].size) << kProductRecord[i].name;
    }
}

TEST(FbDriverStoreSchema, TheProductImportWritesOneTypedValuePerColumn) {
    QOR_SKIP_WITHOUT_TEST_DATABASE();
    test::TempDatabase db;
    auto connection = connectTo(db.path());
    std::string names, markers;
    std::vector<ds::Value> values;
    for (const auto& column : kProductRecord) {
        names += std::string(names.empty() ? "" : ",") + column.name;
        markers += std::string(markers.empty() ? "" : ",") + "?";
        if (column.kind == S)
            values.emplace_back(std::string(column.size, 'x'));  // each text as wide as its column
        else if (column.kind == F)
            values.emplace_back(1.25);
        else
            values.emplace_back(std::int64_t{3});
    }
    values[0] = std::string("4710001");
    values[3] = std::string("\xB0\xD3\xAB\x7E\xA5\x5C");  // 商品功
    std::string insert = "INSERT INTO PRODUCT (" + names + " )" + kCrlf + " VALUES (" + markers + ") " + kCrlf;
    EXPECT_EQ(connection->execute(insert, values), 1);

    auto rows = readAll(*connection, "SELECT * FROM PRODUCT WHERE PROD_ID = '4710001'");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], values);
}

TEST(FbDriverStoreSchema, TheLookUpsOfTheProductDownloadFindCodesAndSalesBarcodes) {
    QOR_SKIP_WITHOUT_TEST_DATABASE();
    test::TempDatabase db(
        "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE) VALUES ('P1', '4710001');"
        "INSERT INTO PROD_SALE (PROD_ID, SAL_BARCODE) VALUES ('P1', '4719999');");
    auto connection = connectTo(db.path());
    auto productLookUp = [&](const std::string& b) {
        return readAll(*connection, "SELECT PROD_ID,PROD_BARCODE FROM PRODUCT " + kCrlf + " WHERE PROD_BARCODE = '" + b +
                                        "'" + kCrlf + " OR PROD_ID = '" + b + "'" + kCrlf +
                                        " OR PROD_BARCODE = '" + b + "'" + kCrlf);
    };
    EXPECT_EQ(productLookUp("4710001").size(), 1u);
    EXPECT_EQ(productLookUp("P1").size(), 1u);
    EXPECT_EQ(productLookUp("4710002").size(), 0u);
    auto sales = readAll(*connection, "SELECT PROD_ID,SAL_BARCODE FROM PROD_SALE " + kCrlf +
                                          " WHERE SAL_BARCODE = '4719999'" + kCrlf);
    ASSERT_EQ(sales.size(), 1u);
    EXPECT_EQ(sales[0][0], ds::Value(std::string("P1")));
}

TEST(FbDriverStoreSchema, APromotionIsWrittenInOneTransactionOnTheSecondConnection) {
    QOR_SKIP_WITHOUT_TEST_DATABASE();
    test::TempDatabase db;
    auto first = connectTo(db.path());
    auto second = connectTo(db.path());

    const std::string master =
        "INSERT INTO PSALE_MASTER(MASTERBILLID,BILL_DATE,SOURCE_ID," + kCrlf +
        "INI_DATE,END_DATE,REASON,REGISTER,STORE_ID,CHG_DATE,CHG_USER,OVER_AMT,PINI_DATE,PEND_DATE,BILL_TYPE,"
        "BILL_KIND,PRO_NO) VALUES " + kCrlf + "(?,?,?," + kCrlf + "?,?,?,?,?,?,?,?,?,?,?,?,?)" + kCrlf;
    const std::string item =
        "INSERT INTO PSALE_SUB(MASTERBILLID,PROD_ID,PROD_NAME,PROD_BARCODE," + kCrlf +
        "PD_ITEMID,PSALE_FLAG,PSALE_PRICE,OLD_PRICE,N_QTY,G_PROD_ID," + kCrlf +
        "G_PROD_NAME,G_QTY,TEMPPRODID,STORE_ID,CHG_DATE,CHG_USER,VIP_PRICE,ini_date,end_date,NEW_COST,Keyintime,"
        "SEC_DIS,PINI_DATE,PEND_DATE,VNEW_COST,pack_qty,PLIMIT_QTY,NOTE,v_name,STOP_SALE,BILL_KIND," + kCrlf +
        "U_DIS,PROVIDER_ID,PROVIDER_NAME,OLD_COST,POINT_YN,PRO_NO,SET_TYPE,POP_TYPE) VALUES " + kCrlf +
        "(?,?,?,?," + kCrlf + "?,?,?,?,?,?," + kCrlf + "?,?,?,?,?,?," + kCrlf +
        "?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)" + kCrlf;
    using V = ds::Value;
    auto text = [](const char* t) { return V(std::string(t)); };
    // A head-office id of the full 20 bytes still fits once "IM" is put before it.
    const std::string sourceId = "M2024010100000000001";
    std::vector<V> masterValues = {
        V("IM" + sourceId), text("2024/01/01"), V(sourceId), text("2024/01/02"), text("2024/01/31"),
        text("\xA5\x5C\xB3\x5C"), text("R1"), text("S001"), text("2024/01/01"), text("U1"), V(500.0),
        text("2024/01/02"), text("2024/01/31"), text("1"), text("A"), text("PRO1")};
    std::vector<V> itemValues = {
        V("IM" + sourceId), text("P1"), text("name"), text("4710001"), text("0101"), text("1"),
        V(99.0), V(120.0), V(1.0), text(""), text(""), V(0.0), text(""), text("S001"),
        text("2024/01/01"), text("U1"), V(95.0), text("2024/01/02"), text("2024/01/31"), V(0.0),
        text("2024/01/01 10:00:00"), text("N"), text("2024/01/02"), text("2024/01/31"), V(0.0),
        V(1.0), V(0.0), text("note"), text("v"), text("N"), text("A"), V(100.0), text("F1"),
        text("supplier"), V(0.0), text("Y"), text("PRO1"), text("1"), text("2")};

    second->startTransaction(0);
    second->execute(master, masterValues);
    second->execute(item, itemValues);
    itemValues[1] = text("P2");
    second->execute(item, itemValues);

    const std::string taken =
        "SELECT MASTERBILLID FROM PSALE_MASTER " + kCrlf + " WHERE SOURCE_ID = '" + sourceId + "'" + kCrlf;
    EXPECT_EQ(readAll(*first, taken).size(), 0u);
    second->commit();
    auto rows = readAll(*first, taken);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], V("IM" + sourceId));
    EXPECT_EQ(countOf(*first, "PSALE_SUB"), 2);
    auto columns = first->query("select * from psale_master where masterbillid = '-1' ", {})->columns();
    EXPECT_EQ(columns.size(), 16u);
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(FbDriverTestFixture, TheDefinitionFilesPointAConnectionAtTheDatabase) {
    QOR_SKIP_WITHOUT_TEST_DATABASE();
    test::TempDatabase db;
    test::writeDbxFiles(db.folder(), test::DbxFiles{db.path(), {{"Trim Char", "True"}, {"Extra", "1"}}, {}});
    std::string connections = fileText(db.folder() / "dbxconnections.ini");
    EXPECT_THAT(connections, ::testing::StartsWith("[Tendro]\nDriverName=Interbase\nDatabase=" + db.path() + "\n"));
    EXPECT_THAT(connections, ::testing::HasSubstr("\nUser_Name=SYSDBA\nPassword=quillbarn\n"));
    EXPECT_THAT(connections, ::testing::HasSubstr("\nInterbase TransIsolation=ReadCommited\nTrim Char=True\nExtra=1\n"));
    EXPECT_EQ(fileText(db.folder() / "dbxdrivers.ini"),
              "[Interbase]\nLibraryName=" QOR_DRIVER_LIBRARY_NAME "\nVendorLib=" QOR_CLIENT_LIBRARY_NAME
              "\nGetDriverFunc=getSQLDriverINTERBASE\n");
}

TEST(FbDriverTestFixture, EachDatabaseIsFreshAndGoesWithItsFolder) {
    QOR_SKIP_WITHOUT_TEST_DATABASE();
    fs::path folder;
    {
        test::TempDatabase db("INSERT INTO PROD_ITEM VALUES ('I1', 'one');");
        folder = db.folder();
        EXPECT_EQ(db.path(), (folder / "POSDATA.FDB").string());
        EXPECT_EQ(countOf(*connectTo(db.path()), "PROD_ITEM"), 1);
        test::TempDatabase other;
        EXPECT_NE(other.path(), db.path());
        EXPECT_EQ(countOf(*connectTo(other.path()), "PROD_ITEM"), 0);
    }
    EXPECT_FALSE(fs::exists(folder));
}

TEST(FbDriverTestFixture, BadExtraSqlFailsTheFixtureWithIsqlsMessage) {
    QOR_SKIP_WITHOUT_TEST_DATABASE();
    try {
        test::TempDatabase db("INSERT INTO NO_SUCH_TABLE VALUES (1);");
        FAIL() << "the fixture accepted a failing statement";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), ::testing::HasSubstr("NO_SUCH_TABLE"));
    }
}

TEST(FbDriverTestFixture, TheBuildWritesTheDriverDefinitionBesideTheExecutables) {
    EXPECT_EQ(fileText(fs::path(QOR_BIN_DIR) / "dbxdrivers.ini"),
              "[Interbase]\nLibraryName=" QOR_DRIVER_LIBRARY_NAME "\nVendorLib=" QOR_CLIENT_LIBRARY_NAME
              "\nGetDriverFunc=getSQLDriverINTERBASE\n");
}

}  // namespace
