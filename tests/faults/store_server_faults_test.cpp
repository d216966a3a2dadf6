// The store's Firebird server stopped in the middle of a write, the program's connections
// going through it ("127.0.0.1/<port>:<path>"): the message, nothing half-written when the
// store is read back after the server returns, and the same window writing again without a
// restart. The server is one of the test's own (PrivateFirebirdServer); the group runs where
// the server tests run (QOR_TEST_FB_SERVER set).
#include <cstdlib>
#include <optional>

#include "private_firebird_server.h"
#include "shared_gateway.h"
#include "store_fixture.h"

namespace qor::faults {
namespace {

class StoreServerStopped : public qor::test::SharedGateway<StoreServerStopped, StoreFixture> {
protected:
    static void SetUpTestSuite() {
        if (!enabled()) return;
        startGateway(headOfficeRows());
    }
    static bool enabled() {
        const char* server = std::getenv("QOR_TEST_FB_SERVER");
        return server && *server && qor::test::PrivateFirebirdServer::available();
    }

    void SetUp() override {
        if (!enabled()) GTEST_SKIP() << "no Firebird server tests here (QOR_TEST_FB_SERVER unset)";
        server.emplace();
        openWorkflows(store.folder().string(), {server->address(store.path()), {}, {}}, gateway.get());
    }
    // The window's attachments end before the server does, as when the program closes.
    void TearDown() override {
        w.reset();
        if (server) server->stop();
    }

    qor::test::TempDatabase store{storeRows()};
    std::optional<qor::test::PrivateFirebirdServer> server;
};


// The client's words for a server that went away mid-work.
bool saysTheConnectionIsGone(const std::string& text) {
    return text.ends_with("Error reading data from the connection.") ||
           text.ends_with("Error writing data to the connection.");
}

TEST_F(StoreServerStopped, DuringATransferNothingOfThePromotionIsKeptAndTheNextTransferWritesIt) {
    downloadPromotions();
    ASSERT_TRUE(w->dialogs.boxes.empty()) << boxTexts();
    ASSERT_EQ(items().recordCount(), kPromotionItems);
    duringTheWalk(items(), 10, [&] { server->stop(); });
    checkAndTransfer();
    items().afterScroll = nullptr;
    ASSERT_EQ(w->dialogs.boxes.size(), 1u) << boxTexts();
    EXPECT_EQ(w->dialogs.boxes[0].kind, Box::Warning);
    const std::string head = QOR_BIG5("資料寫入失敗..!") + "\nPROD_ID: " + numbered("P", 11) + "\n";
    EXPECT_TRUE(w->dialogs.boxes[0].text.starts_with(head)) << w->dialogs.boxes[0].text;
    EXPECT_TRUE(saysTheConnectionIsGone(w->dialogs.boxes[0].text)) << w->dialogs.boxes[0].text;
    EXPECT_FALSE(items().controlsDisabled());

    server->start();
    EXPECT_EQ(transferredMasters(), 0u);
    EXPECT_EQ(transferredItems(), 0u);

    // The same window, no restart: the check finds the promotion untaken and writes it whole.
    checkAndTransfer();
    EXPECT_EQ(w->dialogs.boxes.size(), 1u) << boxTexts();
    EXPECT_EQ(transferredMasters(), 1u);
    EXPECT_EQ(transferredItems(), std::size_t(kPromotionItems));
}

TEST_F(StoreServerStopped, DuringImportAllNoRowIsKeptAndTheNextImportAllWritesThemAll) {
    downloadFreshGoods();
    ASSERT_TRUE(w->dialogs.boxes.empty()) << boxTexts();
    ASSERT_EQ(products().recordCount(), kFreshGoods);
    duringTheWalk(products(), 10, [&] { server->stop(); });
    importAll();
    products().afterScroll = nullptr;
    ASSERT_EQ(w->dialogs.boxes.size(), 1u) << boxTexts();
    EXPECT_EQ(w->dialogs.boxes[0].kind, Box::Error);
    // The failure itself, not the commit that could not follow it.
    EXPECT_TRUE(saysTheConnectionIsGone(w->dialogs.boxes[0].text)) << w->dialogs.boxes[0].text;
    EXPECT_EQ(products().fieldByName("PROD_ID").asString(), numbered("N", 11));

    // The rows before the failure shared its transaction, which the server never committed.
    server->start();
    EXPECT_EQ(importedFreshGoods(), 0u);

    importAll();
    EXPECT_EQ(w->dialogs.boxes.size(), 1u) << boxTexts();
    EXPECT_EQ(importedFreshGoods(), std::size_t(kFreshGoods));
}

// Rows still to come from a read whose attachment another statement found gone are a
// failure, not the end of the rows.
TEST_F(StoreServerStopped, ARowsReadCutOffByTheServerGoingFailsRatherThanEndsEarly) {
    storedb::SqlConnection& connection = w->objects.SQLConnection1;
    storedb::SqlQuery rows("Rows", connection);
    rows.setSql("SELECT PROD_ID FROM PRODUCT ORDER BY PROD_ID");
    rows.open();
    ASSERT_EQ(rows.fieldText("PROD_ID"), numbered("P", 1));
    server->stop();
    storedb::SqlQuery other("Other", connection);
    other.setSql("SELECT COUNT(*) FROM PROD_ITEM");
    EXPECT_THROW(other.open(), Error);
    EXPECT_FALSE(connection.connected());

    int read = 1;
    EXPECT_THROW(
        {
            for (rows.next(); !rows.eof(); rows.next()) ++read;
        },
        Error);
    EXPECT_LT(read, kPromotionItems);
}

}  // namespace
}  // namespace qor::faults
