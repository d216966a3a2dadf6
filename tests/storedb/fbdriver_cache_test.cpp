// Prepared statements kept per attachment and reused by text. The server's monitoring tables
// show which statements an attachment holds prepared.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fbdriver_plugin.h"

using namespace qor;
using namespace qor::fbtest;

namespace {

class FbDriverStatementCache : public ::testing::Test {
protected:
    void SetUp() override {
        db_.runSql(
            "INSERT INTO PROD_UNIT VALUES ('U1', 'a'); INSERT INTO PROD_UNIT VALUES ('U2', 'a');"
            "INSERT INTO PROD_UNIT VALUES ('U3', 'b');");
        connection_ = connectTo(db_.path());
        observer_ = connectTo(db_.path());
        attachment_ = firstValue(*connection_, "SELECT CURRENT_CONNECTION FROM RDB$DATABASE");
    }

    // Ids of the statements the tested attachment holds whose text contains `fragment`.
    // Monitoring data is a snapshot per transaction: each look runs in a fresh one.
    std::vector<std::int64_t> preparedIds(const std::string& fragment) {
        observer_->startTransaction(0);
        auto rows = readAll(*observer_,
                            "SELECT MON$STATEMENT_ID FROM MON$STATEMENTS WHERE MON$ATTACHMENT_ID = ? "
                            "AND MON$SQL_TEXT CONTAINING ? ORDER BY MON$STATEMENT_ID",
                            {attachment_, fragment});
        observer_->commit();
        std::vector<std::int64_t> ids;
        for (const auto& row : rows) ids.push_back(std::get<std::int64_t>(row[0]));
        return ids;
    }

    std::size_t preparedCount() {
        observer_->startTransaction(0);
        auto count = firstValue(*observer_, "SELECT COUNT(*) FROM MON$STATEMENTS WHERE MON$ATTACHMENT_ID = ?",
                                {attachment_});
        observer_->commit();
        return static_cast<std::size_t>(std::get<std::int64_t>(count));
    }

    test::TempDatabase db_;
    std::unique_ptr<dbx::Connection> connection_;
    std::unique_ptr<dbx::Connection> observer_;
    ds::Value attachment_;
};

const std::string kByName = "SELECT UNIT_ID FROM PROD_UNIT WHERE UNITNAME = ? ORDER BY UNIT_ID";

TEST_F(FbDriverStatementCache, TheSameTextRunsAgainOnTheSamePreparedStatement) {
    EXPECT_EQ(readAll(*connection_, kByName, {std::string("a")}).size(), 2u);
    auto first = preparedIds("UNITNAME = ?");
    ASSERT_EQ(first.size(), 1u);
    auto rows = readAll(*connection_, kByName, {std::string("b")});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], ds::Value(std::string("U3")));
    EXPECT_EQ(preparedIds("UNITNAME = ?"), first);
}

TEST_F(FbDriverStatementCache, WritesReuseTheirStatementToo) {
    const std::string insert = "INSERT INTO PROD_ITEM (PD_ITEMID, PD_ITEMNAME) VALUES (?, ?)";
    connection_->execute(insert, {std::string("I1"), std::string("one")});
    auto first = preparedIds("INSERT INTO PROD_ITEM");
    connection_->execute(insert, {std::string("I2"), std::string("two")});
    EXPECT_EQ(preparedIds("INSERT INTO PROD_ITEM"), first);
    EXPECT_EQ(countOf(*connection_, "PROD_ITEM"), 2);
}

TEST_F(FbDriverStatementCache, ACursorLeftOpenKeepsItsRowsWhileTheSameTextRunsAgain) {
    auto open = connection_->query(kByName, {std::string("a")});
    ds::Row row;
    ASSERT_TRUE(open->fetch(row));
    EXPECT_EQ(row[0], ds::Value(std::string("U1")));
    // The same text while the first cursor is still open.
    auto rows = readAll(*connection_, kByName, {std::string("b")});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], ds::Value(std::string("U3")));
    // The first cursor goes on where it was.
    ASSERT_TRUE(open->fetch(row));
    EXPECT_EQ(row[0], ds::Value(std::string("U2")));
    EXPECT_FALSE(open->fetch(row));
}

TEST_F(FbDriverStatementCache, ReplacingAnOpenCursorByTheNextRunNeedsNoNewStatementEachTime) {
    // A query object keeps its cursor until the next run replaces it, first row read only.
    std::unique_ptr<dbx::Cursor> current;
    ds::Row row;
    for (int i = 0; i < 40; ++i) {
        std::string name = i % 2 ? "a" : "b";
        current = connection_->query(kByName, {name});
        ASSERT_TRUE(current->fetch(row));
        EXPECT_EQ(row[0], ds::Value(std::string(i % 2 ? "U1" : "U3")));
    }
    EXPECT_LE(preparedIds("UNITNAME = ?").size(), 2u);
}

TEST_F(FbDriverStatementCache, TheCacheIsBounded) {
    for (int i = 0; i < 150; ++i)
        readAll(*connection_, "SELECT " + std::to_string(i) + " FROM RDB$DATABASE");
    std::size_t held = preparedCount();
    EXPECT_LE(held, 64u);
    EXPECT_GE(held, 60u);
    // Statements pushed out are prepared again when they come back.
    EXPECT_EQ(firstValue(*connection_, "SELECT 0 FROM RDB$DATABASE"), ds::Value(std::int64_t{0}));
}

TEST_F(FbDriverStatementCache, AFailedRunDoesNotSpoilTheStatement) {
    const std::string insert = "INSERT INTO PROD_UNIT (UNIT_ID, UNITNAME) VALUES (?, ?)";
    connection_->execute(insert, {std::string("N1"), std::string("n")});
    EXPECT_FALSE(failureOf([&] { connection_->execute(insert, {std::string("N1"), std::string("n")}); }).empty());
    EXPECT_EQ(connection_->execute(insert, {std::string("N2"), std::string("n")}), 1);
    EXPECT_EQ(readAll(*connection_, kByName, {std::string("n")}).size(), 2u);
}

}  // namespace
