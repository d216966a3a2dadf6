// Through a Firebird server on loopback, as the store's own definition names it: "server:path".
// Runs when a server is up (scripts/test starts one and sets QOR_TEST_FB_SERVER).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "fbdriver_plugin.h"

using namespace qor;
using namespace qor::fbtest;

namespace {

class FbDriverServer : public ::testing::Test {
protected:
    void SetUp() override {
        const char* server = std::getenv("QOR_TEST_FB_SERVER");
        if (!server || !*server) GTEST_SKIP() << "no Firebird server (QOR_TEST_FB_SERVER unset)";
        db_.emplace("INSERT INTO PROVIDER VALUES ('F1', '\xA5\x5C\xA5\x71');");
        database_ = std::string(server) + ":" + db_->path();
    }
    std::optional<test::TempDatabase> db_;
    std::string database_;
};

TEST_F(FbDriverServer, ReadsAndWritesWithTheBuiltInAccount) {
    auto connection = connectTo(database_, {{"RoleName", "RoleName"}, {"WaitOnLocks", "True"}});
    auto other = connectTo(database_);
    EXPECT_EQ(firstValue(*connection, "SELECT PROVIDER_NAME FROM PROVIDER WHERE PROVIDER_ID = 'F1'"),
              ds::Value(std::string("\xA5\x5C\xA5\x71")));
    connection->execute("INSERT INTO PROVIDER VALUES (?, ?)", {std::string("F2"), std::string("\xB3\x5C")});
    EXPECT_EQ(countOf(*other, "PROVIDER"), 2);

    connection->startTransaction(0);
    connection->execute("DELETE FROM PROVIDER WHERE PROVIDER_ID = ?", {std::string("F1")});
    EXPECT_EQ(countOf(*other, "PROVIDER"), 2);
    connection->commit();
    EXPECT_EQ(countOf(*other, "PROVIDER"), 1);
}

TEST_F(FbDriverServer, AWrongPasswordFailsWithTheServersText) {
    std::string error = failureOf([&] { connectTo(database_, {}, "not-the-password"); });
    EXPECT_THAT(error, ::testing::HasSubstr("password"));
}

}  // namespace
