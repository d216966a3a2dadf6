// Connecting through the definition files: where the files are found, the order of the
// checks and every failure text, the loaded-once rule, and the two separate attachments.
#include <gtest/gtest.h>
#include <ibase.h>

#include <filesystem>
#include <fstream>

#include "error_text.h"
#include "storedb/store_objects.h"
#include "storedb/transaction_scope.h"
#include "storedb_fixture.h"
#include "text/errors.h"

namespace qor::storedb::testing {
namespace {

namespace fs = std::filesystem;

// A read-committed transaction, as the promotion transfer starts on the second connection.
constexpr TransactionDesc kTransferTransaction{.transactionId = 1};

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// The failure text of one connect attempt; empty when it connected.
std::string connectError(SqlConnection& connection) {
    return test::errorOf([&] { connection.open(); });
}

class ConnectTest : public StoreDbTest {};

TEST_F(ConnectTest, BothConnectionsReachTheTendroDatabaseWhateverTheirBuiltInPaths) {
    StoreObjects store(paths_);
    EXPECT_NE(store.SQLConnection1.params().value("Database"),
              store.SQLConnection2.params().value("Database"));
    EXPECT_FALSE(store.SQLConnection1.connected());
    EXPECT_FALSE(store.SQLConnection2.connected());

    store.SQLConnection1.open();
    store.SQLConnection2.open();
    EXPECT_EQ(store.SQLConnection1.params().value("Database"), db_.path());
    EXPECT_EQ(store.SQLConnection2.params().value("Database"), db_.path());

    // A row written through one is read through the other: the same database.
    store.SQL_M.setSql("INSERT INTO PROD_UNIT (UNIT_ID, UNITNAME) VALUES ('BOX', 'x')");
    store.SQL_M.execSql();
    EXPECT_EQ(lookUp(store.SQLQuery1, "SELECT * FROM PROD_UNIT WHERE UNIT_ID = 'BOX'", "UNIT_ID"),
              "BOX");
}

TEST_F(ConnectTest, FirstQueryConnectsAndTheConnectionStaysOpen) {
    auto connection = makeConnection();
    SqlQuery query("SQLQuery1", *connection);
    EXPECT_FALSE(connection->connected());
    EXPECT_EQ(lookUp(query, "SELECT COUNT(*) AS N FROM PRODUCT", "N"), "0");
    EXPECT_TRUE(connection->connected());
    query.close();
    EXPECT_TRUE(connection->connected());
}

TEST_F(ConnectTest, MissingConnectionFileNamesThePathBesideTheExecutableThenConnectsOnceItExists) {
    fs::remove(folder() / "dbxconnections.ini");
    auto connection = makeConnection();
    const std::string expected = (folder() / "dbxconnections.ini").string();
    EXPECT_EQ(connectError(*connection),
              "Driver/Connection Registry File '" + expected + "' not found");
    EXPECT_FALSE(connection->connected());

    test::writeDbxFiles(folder(), dbxFilesFor(db_.path()));
    EXPECT_EQ(connectError(*connection), "");
    EXPECT_TRUE(connection->connected());
}

TEST_F(ConnectTest, PerUserValuesNameTheFiles) {
    const fs::path elsewhere = folder() / "elsewhere";
    test::writeDbxFiles(elsewhere, dbxFilesFor(db_.path()));
    fs::remove(folder() / "dbxconnections.ini");
    fs::remove(folder() / "dbxdrivers.ini");
    paths_.set(kConnectionRegistryFile, UserValue::of((elsewhere / "dbxconnections.ini").string()));
    paths_.set(kDriverRegistryFile, UserValue::of((elsewhere / "dbxdrivers.ini").string()));

    auto connection = makeConnection();
    EXPECT_EQ(connectError(*connection), "");
}

TEST_F(ConnectTest, AnEmptyPerUserValueFallsBackToTheExecutablesFolder) {
    paths_.set(kConnectionRegistryFile, UserValue::of(""));
    paths_.set(kDriverRegistryFile, UserValue::of(""));
    auto connection = makeConnection();
    EXPECT_EQ(connection->connectionDefinitionPath(), (folder() / "dbxconnections.ini").string());
    EXPECT_EQ(connectError(*connection), "");
}

TEST_F(ConnectTest, APerUserValueThatIsNoTextLeavesNoPath) {
    paths_.set(kConnectionRegistryFile, UserValue::notText());
    auto connection = makeConnection();
    EXPECT_EQ(connectError(*connection), "Driver/Connection Registry File '' not found");
}

TEST_F(ConnectTest, ConnectionFilePathIsSettledWhenTheConnectionIsMade) {
    auto connection = makeConnection();
    // Named only after the connection exists: not followed.
    paths_.set(kConnectionRegistryFile, UserValue::of((folder() / "missing.ini").string()));
    EXPECT_EQ(connectError(*connection), "");
}

TEST_F(ConnectTest, DriverFilePathIsLookedUpAtEachConnect) {
    auto connection = makeConnection();
    paths_.set(kDriverRegistryFile, UserValue::of((folder() / "missing.ini").string()));
    EXPECT_EQ(connectError(*connection), "DLL/Shared Library Name not Set");
    paths_.remove(kDriverRegistryFile);
    EXPECT_EQ(connectError(*connection), "");
}

TEST_F(ConnectTest, MissingSectionOrDriverNameFailsWithMissingDriverName) {
    writeText(folder() / "dbxconnections.ini", "[Other]\nDriverName=Interbase\nDatabase=" + db_.path() + "\n");
    auto noSection = makeConnection();
    EXPECT_EQ(connectError(*noSection), "Missing DriverName property");

    test::DbxFiles files = dbxFilesFor(db_.path());
    files.connectionOverrides["DriverName"] = "";
    test::writeDbxFiles(folder(), files);
    auto noDriverName = makeConnection();
    EXPECT_EQ(connectError(*noDriverName), "Missing DriverName property");
}

TEST_F(ConnectTest, MissingLibraryOrVendorLibFailsWithLibraryNameNotSet) {
    for (const char* key : {"LibraryName", "VendorLib"}) {
        test::DbxFiles files = dbxFilesFor(db_.path());
        files.driverOverrides[key] = "";
        test::writeDbxFiles(folder(), files);
        auto connection = makeConnection();
        EXPECT_EQ(connectError(*connection), "DLL/Shared Library Name not Set") << key;
    }
}

TEST_F(ConnectTest, MissingDatabaseFailsWithMissingDatabaseProperty) {
    test::DbxFiles files = dbxFilesFor(db_.path());
    files.connectionOverrides["Database"] = "  ";
    test::writeDbxFiles(folder(), files);
    auto connection = makeConnection();
    EXPECT_EQ(connectError(*connection), "Missing Database property");
}

TEST_F(ConnectTest, LibrariesThatCannotBeLoadedAreNamed) {
    test::DbxFiles files = dbxFilesFor(db_.path());
    files.driverOverrides["LibraryName"] = "libdbxnothere.so";
    test::writeDbxFiles(folder(), files);
    auto noDriver = makeConnection();
    EXPECT_EQ(connectError(*noDriver), "Unable to Load libdbxnothere.so");

    // Not a library at all.
    writeText(folder() / "libbroken.so", "this is no shared library");
    files.driverOverrides["LibraryName"] = (folder() / "libbroken.so").string();
    test::writeDbxFiles(folder(), files);
    auto broken = makeConnection();
    EXPECT_EQ(connectError(*broken), "Unable to Load " + (folder() / "libbroken.so").string());

    // The client library the driver loads.
    files = dbxFilesFor(db_.path());
    files.driverOverrides["VendorLib"] = "libfbclientnothere.so.9";
    test::writeDbxFiles(folder(), files);
    auto noClient = makeConnection();
    EXPECT_EQ(connectError(*noClient), "Unable to Load libfbclientnothere.so.9");
}

TEST_F(ConnectTest, ALibraryWithoutTheEntryFunctionIsNamedByTheFunction) {
    // A real shared library that exports something else.
    const fs::path copy = folder() / "libnoentry.so";
    fs::copy_file(QOR_NOENTRY_LIBRARY, copy);
    test::DbxFiles files = dbxFilesFor(db_.path());
    files.driverOverrides["LibraryName"] = copy.string();
    test::writeDbxFiles(folder(), files);
    auto connection = makeConnection();
    EXPECT_EQ(connectError(*connection), "Unable to Find Procedure getSQLDriverINTERBASE");

    files = dbxFilesFor(db_.path());
    files.driverOverrides["GetDriverFunc"] = "getSQLDriverNOSUCH";
    test::writeDbxFiles(folder(), files);
    auto wrongName = makeConnection();
    EXPECT_EQ(connectError(*wrongName), "Unable to Find Procedure getSQLDriverNOSUCH");
}

TEST_F(ConnectTest, ALibraryNameWithoutFolderIsFoundBesideTheExecutable) {
    // The program's own folder holds the plugin; the files are named per user.
    FixedDefinitionPaths besidePlugin(QOR_BIN_DIR);
    test::writeDbxFiles(folder(), db_.path());  // LibraryName=libdbxfb.so, no folder
    besidePlugin.set(kConnectionRegistryFile, UserValue::of((folder() / "dbxconnections.ini").string()));
    besidePlugin.set(kDriverRegistryFile, UserValue::of((folder() / "dbxdrivers.ini").string()));
    SqlConnection connection("SQLConnection1", besidePlugin);
    EXPECT_EQ(connectError(connection), "");
}

TEST_F(ConnectTest, TheDatabaseRefusingTheConnectGivesTheDriversText) {
    test::writeDbxFiles(folder(), dbxFilesFor((folder() / "no-such-database.fdb").string()));
    auto connection = makeConnection();
    const std::string error = connectError(*connection);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find("Missing"), std::string::npos);
    EXPECT_FALSE(connection->connected());
}

TEST_F(ConnectTest, TheSectionStaysLoadedAfterAFailureAfterTheFirstStep) {
    test::DbxFiles files = dbxFilesFor(db_.path());
    files.connectionOverrides["Database"] = "";
    test::writeDbxFiles(folder(), files);
    auto connection = makeConnection();
    EXPECT_EQ(connectError(*connection), "Missing Database property");

    // The file is right now, but the list loaded by the first attempt stays.
    test::writeDbxFiles(folder(), dbxFilesFor(db_.path()));
    EXPECT_EQ(connectError(*connection), "Missing Database property");

    // The driver name, though, is read afresh at every attempt.
    files.connectionOverrides["DriverName"] = "NoSuchDriver";
    test::writeDbxFiles(folder(), files);
    EXPECT_EQ(connectError(*connection), "DLL/Shared Library Name not Set");

    // Closing forgets the list: the next connect reads the section again.
    test::writeDbxFiles(folder(), dbxFilesFor(db_.path()));
    connection->close();
    EXPECT_EQ(connectError(*connection), "");
}

TEST_F(ConnectTest, ParametersGivenInCodeConnectWithoutDefinitionFiles) {
    fs::remove(folder() / "dbxconnections.ini");
    fs::remove(folder() / "dbxdrivers.ini");
    SqlConnection connection("HeadOffice", paths_);
    connection.setLoadParamsOnConnect(false);
    connection.setLibraryName(pluginPath());
    connection.setVendorLib("libfbclient.so.2");
    connection.params().set("Database", db_.path());
    SqlQuery query("Q", connection);
    query.setSql("SELECT UNIT_ID FROM PROD_UNIT");
    ds::Table table = query.openTable();
    ASSERT_EQ(table.columns.size(), 1u);
    EXPECT_EQ(table.columns[0].name, "UNIT_ID");
    EXPECT_TRUE(table.rows.empty());
}

TEST_F(ConnectTest, ParameterListValues) {
    auto connection = makeConnection();
    EXPECT_EQ(connection->rowsetSize(), 20);
    connection->params().set("rowsetsize", "50");
    EXPECT_EQ(connection->rowsetSize(), 50);
    connection->params().set("RowsetSize", "many");
    EXPECT_EQ(connection->rowsetSize(), 20);
    EXPECT_EQ(connection->localeCode(), 0);
    connection->params().set("LocaleCode", "0404");
    EXPECT_EQ(connection->localeCode(), 0x404);

    EXPECT_TRUE(isOn(" True "));
    EXPECT_TRUE(isOn("tRUE"));
    EXPECT_FALSE(isOn("Yes"));
    EXPECT_FALSE(isOn(""));
}

// ---- transactions

class TransactionTest : public StoreDbTest {};

TEST_F(TransactionTest, AWriteInsideTheTransactionIsSeenByTheOtherConnectionOnlyAfterTheCommit) {
    StoreObjects store(paths_);
    EXPECT_FALSE(store.SQLConnection2.inTransaction());
    store.SQLConnection2.startTransaction(kTransferTransaction);  // connects first
    EXPECT_TRUE(store.SQLConnection2.connected());
    EXPECT_TRUE(store.SQLConnection2.inTransaction());

    store.SQL_M.close();
    store.SQL_M.clearSql();
    store.SQL_M.addLine("INSERT INTO PSALE_MASTER(MASTERBILLID,SOURCE_ID) VALUES ");
    store.SQL_M.addLine("(:MASTERBILLID,:SOURCE_ID)");
    store.SQL_M.paramByName("masterbillid").setAsString("IMP001");
    store.SQL_M.paramByName("SOURCE_ID").setAsString("P001");
    store.SQL_M.execSql();

    const std::string check = "SELECT * FROM PSALE_MASTER WHERE SOURCE_ID = 'P001'";
    store.SQLQuery1.close();
    store.SQLQuery1.clearSql();
    store.SQLQuery1.addLine(check);
    store.SQLQuery1.open();
    EXPECT_TRUE(store.SQLQuery1.isEmpty());

    store.SQLConnection2.commit(kTransferTransaction);
    EXPECT_FALSE(store.SQLConnection2.inTransaction());
    EXPECT_EQ(lookUp(store.SQLQuery1, check, "MASTERBILLID"), "IMP001");
}

TEST_F(TransactionTest, CountRules) {
    StoreObjects store(paths_);
    try {
        store.SQLConnection2.commit(kTransferTransaction);
        FAIL() << "commit without a transaction";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "There is no active transaction");
        EXPECT_EQ(e.gdsCode(), 0);  // not the database's failure
    }
    store.SQLConnection2.startTransaction(kTransferTransaction);
    try {
        store.SQLConnection2.startTransaction(kTransferTransaction);
        FAIL() << "a second transaction";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "A transaction is already active");
    }
    EXPECT_TRUE(store.SQLConnection2.inTransaction());
    // Closing ends the count.
    store.SQLConnection2.close();
    EXPECT_FALSE(store.SQLConnection2.inTransaction());
}

// The transfer's shape: a write the database refuses fails with the database's codes, and
// the scope takes back what the transaction wrote before it.
TEST_F(TransactionTest, ARefusedWriteCarriesTheDatabaseCodesAndTheScopeRollsBack) {
    StoreObjects store(paths_);
    auto insertMaster = [&] {
        store.SQL_M.close();
        store.SQL_M.clearSql();
        store.SQL_M.addLine("INSERT INTO PSALE_MASTER(MASTERBILLID) VALUES (:MASTERBILLID)");
        store.SQL_M.paramByName("MASTERBILLID").setAsString("IMP001");
        store.SQL_M.execSql();
    };
    try {
        TransactionScope transfer(store.SQLConnection2, kTransferTransaction);
        insertMaster();
        insertMaster();  // the same key again
        transfer.commit();
        FAIL() << "a second row with the same key";
    } catch (const Error& e) {
        EXPECT_EQ(e.gdsCode(), isc_unique_key_violation) << e.what();
        EXPECT_EQ(e.sqlState(), "23000");
    }
    EXPECT_FALSE(store.SQLConnection2.inTransaction());
    EXPECT_EQ(lookUp(store.SQLQuery1, "SELECT COUNT(*) AS N FROM PSALE_MASTER", "N"), "0");
}

TEST_F(TransactionTest, AWriteOutsideATransactionTakesEffectAtOnce) {
    StoreObjects store(paths_);
    store.SQLQuery1.setSql("INSERT INTO PROD_ITEM (PD_ITEMID, PD_ITEMNAME) VALUES (:ID, :NAME)");
    store.SQLQuery1.paramByName("ID").setAsString("A1");
    store.SQLQuery1.paramByName("NAME").setAsString("x");
    EXPECT_EQ(store.SQLQuery1.execSql(), 1);
    // The other attachment sees it without any commit call.
    EXPECT_EQ(lookUp(store.SQL_S, "SELECT PD_ITEMID FROM PROD_ITEM WHERE PD_ITEMID = 'A1'", "PD_ITEMID"),
              "A1");
}

// ---- through a Firebird server on the loopback address

class ServerTest : public StoreDbTest {
protected:
    void SetUp() override {
        const char* server = std::getenv("QOR_TEST_FB_SERVER");
        if (!server || !*server) GTEST_SKIP() << "no Firebird server (QOR_TEST_FB_SERVER unset)";
        // The server runs under its own account: let it open the test's folder and file.
        fs::permissions(folder(), fs::perms::all, fs::perm_options::add);
        fs::permissions(db_.path(), fs::perms::all, fs::perm_options::add);
        test::writeDbxFiles(folder(), dbxFilesFor(std::string(server) + ":" + db_.path()));
    }
};

TEST_F(ServerTest, BothConnectionsGoThroughTheServerWithTheBuiltInAccount) {
    StoreObjects store(paths_);
    store.SQLConnection2.startTransaction(kTransferTransaction);
    store.SQL_S.setSql("INSERT INTO PROD_CLASS (PD_CLASSID, PD_CLASSNAME) VALUES (:A, :B)");
    store.SQL_S.paramByName("A").setAsString("C1");
    store.SQL_S.paramByName("B").setAsString("x");
    store.SQL_S.execSql();
    const std::string check = "SELECT * FROM PROD_CLASS WHERE PD_CLASSID = 'C1'";
    EXPECT_EQ(lookUp(store.SQLQuery1, check, "PD_CLASSID"), "");
    store.SQLConnection2.commit(kTransferTransaction);
    EXPECT_EQ(lookUp(store.SQLQuery1, check, "PD_CLASSID"), "C1");
}

TEST_F(ServerTest, AWrongPasswordIsRefusedWithTheServersText) {
    test::DbxFiles files = dbxFilesFor(std::string(std::getenv("QOR_TEST_FB_SERVER")) + ":" + db_.path());
    files.connectionOverrides["Password"] = "wrong";
    test::writeDbxFiles(folder(), files);
    auto connection = makeConnection();
    EXPECT_NE(connectError(*connection), "");
    EXPECT_FALSE(connection->connected());
}

}  // namespace
}  // namespace qor::storedb::testing
