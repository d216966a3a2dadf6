// Writes on their own and in explicit transactions, seen from a second attachment.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ibase.h>

#include "fbdriver_plugin.h"

using namespace qor;
using namespace qor::fbtest;
using ::testing::HasSubstr;

namespace {

const std::string kInsertUnit = "INSERT INTO PROD_UNIT (UNIT_ID, UNITNAME) VALUES (?, ?)";

class FbDriverTransactions : public ::testing::Test {
protected:
    void insertUnit(dbx::Connection& connection, const std::string& id) {
        connection.execute(kInsertUnit, {id, std::string("name")});
    }
    test::TempDatabase db_;
};

TEST_F(FbDriverTransactions, AWriteOutsideATransactionIsCommittedAtOnce) {
    auto writer = connectTo(db_.path());
    auto reader = connectTo(db_.path());
    EXPECT_EQ(countOf(*reader, "PROD_UNIT"), 0);  // the reader's own read transaction is open now
    insertUnit(*writer, "U1");
    EXPECT_FALSE(writer->inTransaction());
    EXPECT_EQ(countOf(*reader, "PROD_UNIT"), 1);
    // Still visible after the writer is gone: it was committed, not left pending.
    writer.reset();
    auto later = connectTo(db_.path());
    EXPECT_EQ(countOf(*later, "PROD_UNIT"), 1);
}

TEST_F(FbDriverTransactions, AWriteInATransactionIsSeenByOthersOnlyAfterCommit) {
    auto writer = connectTo(db_.path());
    auto reader = connectTo(db_.path());
    writer->startTransaction(0);
    EXPECT_TRUE(writer->inTransaction());
    insertUnit(*writer, "U1");
    EXPECT_EQ(countOf(*writer, "PROD_UNIT"), 1);  // its own transaction sees it
    EXPECT_EQ(countOf(*reader, "PROD_UNIT"), 0);
    writer->commit();
    EXPECT_FALSE(writer->inTransaction());
    EXPECT_EQ(countOf(*reader, "PROD_UNIT"), 1);
}

TEST_F(FbDriverTransactions, RollbackDiscardsTheTransactionsWrites) {
    auto connection = connectTo(db_.path());
    connection->startTransaction(0);
    insertUnit(*connection, "U1");
    connection->rollback();
    EXPECT_FALSE(connection->inTransaction());
    EXPECT_EQ(countOf(*connection, "PROD_UNIT"), 0);
}

TEST_F(FbDriverTransactions, RepeatableReadKeepsItsSnapshot) {
    auto mine = connectTo(db_.path());
    auto other = connectTo(db_.path());
    mine->startTransaction(1);
    EXPECT_EQ(countOf(*mine, "PROD_UNIT"), 0);
    insertUnit(*other, "U1");
    EXPECT_EQ(countOf(*mine, "PROD_UNIT"), 0);
    mine->commit();
    EXPECT_EQ(countOf(*mine, "PROD_UNIT"), 1);
}

TEST_F(FbDriverTransactions, TheConnectionsOwnIsolationComesFromItsOption) {
    auto other = connectTo(db_.path());
    auto repeatable = connectTo(db_.path(), {{"Interbase TransIsolation", "RepeatableRead"}});
    auto misspelt = connectTo(db_.path(), {{"Interbase TransIsolation", "ReadCommited"}});
    repeatable->startTransaction(-1);
    misspelt->startTransaction(-1);
    EXPECT_EQ(countOf(*repeatable, "PROD_UNIT"), 0);
    EXPECT_EQ(countOf(*misspelt, "PROD_UNIT"), 0);
    insertUnit(*other, "U1");
    EXPECT_EQ(countOf(*repeatable, "PROD_UNIT"), 0);
    EXPECT_EQ(countOf(*misspelt, "PROD_UNIT"), 1);
    // An explicit level wins over the option.
    repeatable->commit();
    repeatable->startTransaction(0);
    EXPECT_EQ(countOf(*repeatable, "PROD_UNIT"), 1);
    insertUnit(*other, "U2");
    EXPECT_EQ(countOf(*repeatable, "PROD_UNIT"), 2);
}

TEST_F(FbDriverTransactions, WithoutLockWaitsAConflictFailsAtOnce) {
    db_.runSql("INSERT INTO PROD_UNIT VALUES ('U1', 'old');");
    // Only "TRUE" (any case, blanks around) turns lock waits on: these two are off.
    auto first = connectTo(db_.path(), {{"WaitOnLocks", " False "}});
    auto second = connectTo(db_.path(), {{"WaitOnLocks", "yes"}});
    const std::string update = "UPDATE PROD_UNIT SET UNITNAME = ? WHERE UNIT_ID = 'U1'";
    first->startTransaction(0);
    first->execute(update, {std::string("first")});
    second->startTransaction(0);
    const auto error = databaseErrorOf([&] { second->execute(update, {std::string("second")}); });
    EXPECT_EQ(error.codes().gdsCode(), isc_deadlock) << error.what();
    EXPECT_EQ(error.codes().sqlState(), "40001");
    second->rollback();
    first->commit();
    EXPECT_EQ(firstValue(*second, "SELECT UNITNAME FROM PROD_UNIT"), ds::Value(std::string("first")));
}

TEST_F(FbDriverTransactions, AFailedWriteOnItsOwnLeavesNothingBehind) {
    auto connection = connectTo(db_.path());
    insertUnit(*connection, "U1");
    const auto error = databaseErrorOf([&] { insertUnit(*connection, "U1"); });
    EXPECT_EQ(error.codes().gdsCode(), isc_unique_key_violation) << error.what();
    EXPECT_THAT(error.what(), HasSubstr("PK_PROD_UNIT"));
    EXPECT_FALSE(connection->inTransaction());
    EXPECT_EQ(countOf(*connection, "PROD_UNIT"), 1);
}

TEST_F(FbDriverTransactions, OneTransactionAtATime) {
    auto connection = connectTo(db_.path());
    EXPECT_EQ(failureOf([&] { connection->commit(); }), "There is no active transaction");
    EXPECT_EQ(failureOf([&] { connection->rollback(); }), "There is no active transaction");
    connection->startTransaction(0);
    EXPECT_EQ(failureOf([&] { connection->startTransaction(0); }), "A transaction is already active");
    EXPECT_TRUE(connection->inTransaction());
    connection->commit();
}

TEST_F(FbDriverTransactions, DisconnectingRollsBackAnOpenTransaction) {
    auto connection = connectTo(db_.path());
    connection->startTransaction(0);
    insertUnit(*connection, "U1");
    connection->disconnect();
    EXPECT_FALSE(connection->inTransaction());
    auto reader = connectTo(db_.path());
    EXPECT_EQ(countOf(*reader, "PROD_UNIT"), 0);
}

TEST_F(FbDriverTransactions, CommitRetainingCommitsAndAllowsTheNextTransaction) {
    db_.runSql("INSERT INTO PROD_UNIT VALUES ('A1', 'a'); INSERT INTO PROD_UNIT VALUES ('A2', 'b');");
    auto connection = connectTo(db_.path(), {{"CommitRetain", "True"}});
    auto reader = connectTo(db_.path());
    connection->startTransaction(0);
    auto cursor = connection->query("SELECT UNIT_ID FROM PROD_UNIT ORDER BY UNIT_ID", {});
    ds::Row row;
    ASSERT_TRUE(cursor->fetch(row));
    insertUnit(*connection, "U1");
    connection->commit();
    EXPECT_FALSE(connection->inTransaction());
    EXPECT_EQ(countOf(*reader, "PROD_UNIT"), 3);
    // The retained context kept the cursor open.
    ASSERT_TRUE(cursor->fetch(row));
    EXPECT_EQ(row[0], ds::Value(std::string("A2")));
    connection->startTransaction(0);
    insertUnit(*connection, "U2");
    connection->commit();
    EXPECT_EQ(countOf(*reader, "PROD_UNIT"), 4);
}

TEST_F(FbDriverTransactions, ACursorOfAnEndedTransactionEndsAndItsStatementStaysUsable) {
    db_.runSql("INSERT INTO PROD_UNIT VALUES ('U1', 'a'); INSERT INTO PROD_UNIT VALUES ('U2', 'b');");
    auto connection = connectTo(db_.path());
    const std::string sql = "SELECT UNIT_ID FROM PROD_UNIT ORDER BY UNIT_ID";
    connection->startTransaction(0);
    auto cursor = connection->query(sql, {});
    ds::Row row;
    ASSERT_TRUE(cursor->fetch(row));
    connection->commit();
    EXPECT_FALSE(cursor->fetch(row));
    // The same text runs again, outside the transaction now.
    EXPECT_EQ(readAll(*connection, sql).size(), 2u);
    cursor.reset();
    EXPECT_EQ(readAll(*connection, sql).size(), 2u);
}

}  // namespace
