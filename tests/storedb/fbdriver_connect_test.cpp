// Loading the driver and attaching to a database file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "chinese_system_messages.h"
#include "fbdriver_plugin.h"

using namespace qor;
using namespace qor::fbtest;
using ::testing::HasSubstr;

namespace {

TEST(FbDriverLoad, MissingClientLibraryGivesUnableToLoadWithItsName) {
    std::string error;
    dbx::Driver* driver = driverEntry()("libnosuchclient.so.9", "", &error);
    EXPECT_EQ(driver, nullptr);
    EXPECT_EQ(error, "Unable to Load libnosuchclient.so.9");
}

TEST(FbDriverLoad, LibraryWithoutTheClientFunctionsIsNotAClient) {
    std::string error;
    dbx::Driver* driver = driverEntry()("libm.so.6", "", &error);
    EXPECT_EQ(driver, nullptr);
    EXPECT_EQ(error, "Unable to Load libm.so.6");
}

class FbDriverConnect : public ::testing::Test {
protected:
    test::TempDatabase db_;
};

TEST_F(FbDriverConnect, OpensTheStoreDatabaseEmbedded) {
    auto connection = connectTo(db_.path());
    EXPECT_TRUE(connection->connected());
    auto columns = firstValue(*connection,
                              "SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'PRODUCT'");
    EXPECT_EQ(std::get<std::int64_t>(columns), 96);
    connection->disconnect();
    EXPECT_FALSE(connection->connected());
}

TEST_F(FbDriverConnect, TakesTheStoresWholeParameterList) {
    // The values of the store's own definition file, the odd ones included: a role that does
    // not exist, the misspelt isolation name, and keys the driver does not know.
    Options options = {{"RoleName", "RoleName"},       {"SQLDialect", "3"},
                       {"BlobSize", "-1"},             {"CommitRetain", "False"},
                       {"WaitOnLocks", "True"},        {"LocaleCode", "0000"},
                       {"Interbase TransIsolation", "ReadCommited"},
                       {"Trim Char", "False"},         {"Connection Timeout", "30"},
                       {"Custom String", "anything"}};
    auto connection = connectTo(db_.path(), options);
    EXPECT_EQ(countOf(*connection, "PRODUCT"), 0);
}

TEST_F(FbDriverConnect, DeclaresTheServerCharacterSetWhenGiven) {
    auto connection = connectTo(db_.path(), {{"ServerCharSet", "WIN1252"}});
    auto charset = firstValue(*connection,
                              "SELECT TRIM(RDB$CHARACTER_SET_NAME) FROM MON$ATTACHMENTS A "
                              "JOIN RDB$CHARACTER_SETS C ON C.RDB$CHARACTER_SET_ID = A.MON$CHARACTER_SET_ID "
                              "WHERE A.MON$ATTACHMENT_ID = CURRENT_CONNECTION");
    EXPECT_EQ(std::get<std::string>(charset), "WIN1252");
}

TEST_F(FbDriverConnect, DialectOneIsHandedToTheServer) {
    // Dialect 1 divides integers as floating-point numbers; dialect 3 keeps them whole.
    auto dialectOne = connectTo(db_.path(), {{"SQLDialect", "1"}});
    EXPECT_EQ(firstValue(*dialectOne, "SELECT 1/2 FROM RDB$DATABASE"), ds::Value(0.5));
    auto dialectThree = connectTo(db_.path(), {{"SQLDialect", "3"}});
    EXPECT_EQ(firstValue(*dialectThree, "SELECT 1/2 FROM RDB$DATABASE"), ds::Value(std::int64_t{0}));
}

TEST_F(FbDriverConnect, TheSystemsReasonInAFailureIsEnglishUnderAChineseLocale) {
    test::ChineseSystemMessages chinese;
    if (!chinese.translated()) GTEST_SKIP() << "no translated system messages on this machine";
    auto connection = makeDriver()->createConnection();
    const std::string missing = db_.folder().string() + "/NOSUCH.FDB";
    std::string error = failureOf([&] { connection->connect(missing, "SYSDBA", "x"); });
    EXPECT_THAT(error, HasSubstr("No such file or directory"));
}

TEST_F(FbDriverConnect, AMissingFileFailsWithFirebirdsOwnText) {
    auto driver = makeDriver();
    auto connection = driver->createConnection();
    std::string missing = db_.folder().string() + "/NOSUCH.FDB";
    std::string error = failureOf([&] { connection->connect(missing, "SYSDBA", "quillbarn"); });
    EXPECT_THAT(error, HasSubstr("I/O error"));
    EXPECT_THAT(error, HasSubstr(missing));
    EXPECT_FALSE(connection->connected());
    // The same connection connects once the path is right.
    connection->connect(db_.path(), "SYSDBA", "quillbarn");
    EXPECT_TRUE(connection->connected());
}

TEST_F(FbDriverConnect, AnUnknownTableFailsWithFirebirdsTextAndTheConnectionStaysUsable) {
    auto connection = connectTo(db_.path());
    std::string error = failureOf([&] { connection->query("SELECT * FROM NO_SUCH_TABLE", {}); });
    EXPECT_THAT(error, HasSubstr("Table unknown"));
    EXPECT_THAT(error, HasSubstr("NO_SUCH_TABLE"));
    // Lines of the message are joined with line breaks.
    EXPECT_THAT(error, HasSubstr("Dynamic SQL Error\n"));
    EXPECT_EQ(countOf(*connection, "PROD_ITEM"), 0);
}

TEST_F(FbDriverConnect, StatementsOnAClosedConnectionFail) {
    auto connection = connectTo(db_.path());
    connection->disconnect();
    EXPECT_THAT(failureOf([&] { connection->query("SELECT 1 FROM RDB$DATABASE", {}); }),
                HasSubstr("not open"));
    EXPECT_THAT(failureOf([&] { connection->execute("DELETE FROM PROD_ITEM", {}); }),
                HasSubstr("not open"));
    EXPECT_THAT(failureOf([&] { connection->startTransaction(0); }), HasSubstr("not open"));
}

TEST_F(FbDriverConnect, ACursorOutlivingItsConnectionEndsQuietly) {
    db_.runSql("INSERT INTO PROD_UNIT VALUES ('U1', 'a'); INSERT INTO PROD_UNIT VALUES ('U2', 'b');");
    auto connection = connectTo(db_.path());
    auto cursor = connection->query("SELECT UNIT_ID FROM PROD_UNIT ORDER BY UNIT_ID", {});
    ds::Row row;
    ASSERT_TRUE(cursor->fetch(row));
    connection.reset();
    EXPECT_FALSE(cursor->fetch(row));
    EXPECT_EQ(cursor->columns().size(), 1u);
}

}  // namespace
