// A product import that meets the same product inserted, not yet committed, by another
// program's attachment: refused at once when the store's definition turns WaitOnLocks off
// (with Firebird's duplicate-key text), otherwise waiting until that transaction ends, then
// written (rolled back) or refused (committed). Either way the store ends with one row of
// that code, and the import works again once the lock is gone.
#include <atomic>
#include <chrono>
#include <thread>

#include "store_fixture.h"

namespace qor::faults {
namespace {

// Another program's attachment with an open transaction that has inserted a product.
class OtherProgram {
public:
    OtherProgram(const storedb::DefinitionPaths& paths, const std::string& code)
        : connection_("Other", paths), insert_("Insert", connection_) {
        connection_.startTransaction(kTransaction);
        insert_.setSql("INSERT INTO PRODUCT (PROD_ID, PROD_NAME) VALUES (:PROD_ID, 'theirs')");
        insert_.paramByName("PROD_ID").setAsString(code);
        insert_.execSql();
    }
    void commit() { connection_.commit(kTransaction); }
    void rollback() { connection_.rollback(kTransaction); }

private:
    static constexpr storedb::TransactionDesc kTransaction{.transactionId = 1};
    storedb::SqlConnection connection_;
    storedb::SqlQuery insert_;
};

class LockedProduct : public StoreFixture {
protected:
    void openWith(const std::string& waitOnLocks) {
        openWorkflows(store.folder().string(), {store.path(), {{"WaitOnLocks", waitOnLocks}}, {}},
                   nullptr);
        list({"L1", "L2"}, "A01");
    }
    std::vector<std::string> namesOf(const std::string& code) {
        return storeValues("SELECT PROD_NAME AS V FROM PRODUCT WHERE PROD_ID = '" + code + "'");
    }

    qor::test::TempDatabase store{"INSERT INTO PROD_ITEM VALUES ('A01', 'Drinks');"};
};

// Waits, on a thread of its own, until an INSERT INTO PRODUCT of another attachment is
// running (held by the lock), then ends the other program's transaction.
class Releaser {
public:
    Releaser(const storedb::DefinitionPaths& paths, std::function<void()> release)
        : thread_([this, &paths, release] {
              storedb::SqlConnection watcher("Watcher", paths);
              storedb::SqlQuery running("Running", watcher);
              running.setSql(
                  "SELECT COUNT(*) AS V FROM MON$STATEMENTS WHERE MON$STATE = 1 AND "
                  "MON$SQL_TEXT STARTING WITH 'INSERT INTO PRODUCT'");
              const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
              while (!sawTheInsertWait_ && std::chrono::steady_clock::now() < limit) {
                  // A transaction per look: the monitoring tables hold still within one.
                  watcher.startTransaction(kLook);
                  running.open();
                  sawTheInsertWait_ = running.fieldText("V") != "0";
                  running.close();
                  watcher.commit(kLook);
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
              release();
          }) {}
    ~Releaser() {
        if (thread_.joinable()) thread_.join();
    }

    // Once the transaction has been ended: whether the insert was seen waiting for it.
    bool sawTheInsertWait() {
        thread_.join();
        return sawTheInsertWait_;
    }

private:
    static constexpr storedb::TransactionDesc kLook{.transactionId = 1};
    std::atomic<bool> sawTheInsertWait_{false};
    std::thread thread_;
};

TEST_F(LockedProduct, WithoutWaitingTheImportIsRefusedAtOnceAndWritesNothing) {
    openWith("False");
    {
        OtherProgram other(paths, "L1");
        importCurrent();
        other.rollback();
    }
    ASSERT_EQ(w->dialogs.boxes.size(), 1u) << boxTexts();
    EXPECT_EQ(w->dialogs.boxes[0].kind, Box::Error);
    // Firebird words a key held by an uncommitted row as a duplicate, though the store has
    // no such row for anyone else to see.
    EXPECT_TRUE(w->dialogs.boxes[0].text.starts_with(
        "violation of PRIMARY or UNIQUE KEY constraint \"PK_PRODUCT\" on table \"PRODUCT\""))
        << w->dialogs.boxes[0].text;
    EXPECT_TRUE(namesOf("L1").empty());

    importCurrent();  // the lock gone, the same import goes through
    EXPECT_EQ(w->dialogs.boxes.size(), 1u) << boxTexts();
    EXPECT_EQ(namesOf("L1"), std::vector<std::string>{"ours"});
}

TEST_F(LockedProduct, WaitingTheImportIsWrittenWhenTheOtherRollsBackAndRefusedWhenItCommits) {
    openWith("True");
    {
        OtherProgram other(paths, "L1");
        Releaser releaser(paths, [&] { other.rollback(); });
        importCurrent();
        EXPECT_TRUE(releaser.sawTheInsertWait());
    }
    EXPECT_TRUE(w->dialogs.boxes.empty()) << boxTexts();
    EXPECT_EQ(namesOf("L1"), std::vector<std::string>{"ours"});

    products().next();
    {
        OtherProgram other(paths, "L2");
        Releaser releaser(paths, [&] { other.commit(); });
        importCurrent();
        EXPECT_TRUE(releaser.sawTheInsertWait());
    }
    ASSERT_EQ(w->dialogs.boxes.size(), 1u) << boxTexts();
    EXPECT_EQ(w->dialogs.boxes[0].kind, Box::Error);
    EXPECT_TRUE(w->dialogs.boxes[0].text.starts_with(
        "violation of PRIMARY or UNIQUE KEY constraint \"PK_PRODUCT\" on table \"PRODUCT\""))
        << w->dialogs.boxes[0].text;
    EXPECT_EQ(namesOf("L2"), std::vector<std::string>{"theirs"});
}

}  // namespace
}  // namespace qor::faults
