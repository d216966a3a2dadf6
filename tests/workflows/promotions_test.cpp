// Promotions against a real head-office gateway and a store database file: the download and
// its item fetches, the item check, and the transfer of a master with its items; what a stop
// or a failed fetch leaves of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "chinese_system_messages.h"
#include "dataset/value_text.h"
#include "gateway_process.h"
#include "shared_gateway.h"
#include "store_workflows.h"
#include "text/cp950.h"

namespace qor::test {
namespace {

constexpr int kFillerMasters = 20;

std::string master(const std::string& id, const char* billType) {
    return "INSERT INTO PSALE_MASTER (MASTERBILLID, BILL_DATE, SOURCE_ID, INI_DATE, END_DATE, "
           "REASON, REGISTER, STORE_ID, CHG_DATE, CHG_USER, OVER_AMT, PINI_DATE, PEND_DATE, "
           "BILL_TYPE, BILL_KIND, PRO_NO) VALUES ('" + id + "', '2024/04/20', '', '2024/05/01', "
           "'2024/05/31', '" + QOR_BIG5("週年慶") + "', 'HQ', '', '2024/04/21', 'HQ', NULL, "
           "'2024/04/30', '2024/06/01', '" + billType + "', '1', 'P-" + id + "');\n";
}

// An item with the values every test relies on; `columns` and `values` add more.
std::string item(const std::string& masterId, const char* keyed, const char* productId,
                 const std::string& columns = {}, const std::string& values = {}) {
    return "INSERT INTO PSALE_SUB (MASTERBILLID, KEYINTIME, PROD_ID, PROD_NAME, PSALE_PRICE, "
           "OLD_PRICE, N_QTY, INI_DATE, END_DATE, STORE_ID" + columns + ") VALUES ('" +
           masterId + "', '" + keyed + "', '" + productId + "', '" + QOR_BIG5("蘋果汁") +
           "', 90, 100, 2, '2024/05/01', '2024/05/31', 'S001'" + values + ");\n";
}

std::string fillerId(int i) { return (i < 10 ? "F0" : "F") + std::to_string(i); }

// M1: items in the store; M2: taken by the store; M3: another bill type; M4: no items;
// M5: an item whose product the store lacks; M6: an item the store refuses (N_QTY below 0);
// F01..F20 one item each; Q'7 last, a quote in its id.
std::string headOfficeRows() {
    std::string sql;
    for (const char* p : {"P1", "P2", "P3"})
        sql += "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE, "
               "STOCK_QTY) VALUES ('" + std::string(p) + "', 'B" + std::string(p + 1) +
               "', 'name', 10, 9, 'Y');\n";
    sql += master("M1", "1") + master("M2", "1") + master("M3", "2") + master("M4", "1") +
           master("M5", "1") + master("M6", "1");
    sql += item("M1", "2", "P1", ", SEC_DIS, STOP_SALE", ", 'y', 'y'");
    sql += item("M1", "1", "P2",
                ", SEC_DIS, PACK_QTY, U_DIS, NEW_COST, OLD_COST, VNEW_COST, PLIMIT_QTY, "
                "VIP_PRICE, G_QTY, G_PROD_ID, PINI_DATE, PEND_DATE, NOTE, V_NAME, POINT_YN, "
                "PRO_NO, SET_TYPE, POP_TYPE, PROVIDER_ID, PROVIDER_NAME, CHG_DATE, CHG_USER, "
                "PSALE_FLAG, PROD_BARCODE, PD_ITEMID, TEMPPRODID, G_PROD_NAME",
                ", 'Y', 6, 95, 12.5, 11, 7.25, 3, 80, 1, 'P1', '2024/04/30', '2024/06/01', "
                "'note', 'vendor', 'Y', 'PR1', 'S1', 'T1', 'V01', 'supplier', '2024/04/22', "
                "'HQ', '1', 'B2', 'A01', 'T-P2', 'gift'");
    sql += item("M1", "3", "");
    sql += item("M1", "4", "PX", ", STOP_SALE", ", 'abc'");
    sql += item("M2", "1", "P1") + item("M3", "1", "P1") + item("M5", "1", "P3");
    sql += item("M6", "1", "P1") + item("M6", "2", "P2") +
           "UPDATE PSALE_SUB SET N_QTY = -1 WHERE MASTERBILLID = 'M6' AND PROD_ID = 'P2';\n";
    for (int i = 1; i <= kFillerMasters; ++i) {
        const std::string id = fillerId(i);
        sql += master(id, "1") + item(id, "1", "P1");
    }
    sql += master("Q''7", "1") + item("Q''7", "1", "P1");
    return sql;
}

// The store has P1 and P2, has taken M2, and refuses an item quantity below zero.
std::string storeRows() {
    return "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE) VALUES ('P1', 'B1');\n"
           "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE) VALUES ('P2', 'B2');\n"
           "INSERT INTO PSALE_MASTER (MASTERBILLID, SOURCE_ID) VALUES ('IMM2', 'M2');\n"
           "ALTER TABLE PSALE_SUB ADD CONSTRAINT ITEM_QTY_NOT_NEGATIVE "
           "CHECK (N_QTY IS NULL OR N_QTY >= 0);\n";
}

// One item fetch as its reply showed it: the master of its rows ("" without rows).
struct Fetch {
    std::string master;
    int rows = 0;
    bool operator==(const Fetch&) const = default;
};
void PrintTo(const Fetch& f, std::ostream* out) { *out << "'" << f.master << "' x" << f.rows; }

class Promotions : public qor::test::SharedGateway<Promotions> {
protected:
    static void SetUpTestSuite() { startGateway(headOfficeRows()); }

    void SetUp() override {
        w = std::make_unique<StoreWorkflows>(storeRows(), gateway->port());
        items().afterOpen = [this](ds::Dataset& d) {
            fetches.push_back({d.rowCount() ? d.displayTextAt(0, d.fieldByName("MASTERBILLID"))
                                            : std::string(),
                               d.rowCount()});
        };
        w->promotions.onBusy = [this](bool busy) { busyTold.push_back(busy); };
    }

    ds::Dataset& masters() { return w->objects.CDS_PsaleMaster; }
    ds::Dataset& items() { return w->promotions.CDS_PSaleSub; }

    void download() { w->dialogs.handle([&] { w->promotions.download(); }); }
    // The item check as the window makes it: the product tab when products are lacking (true),
    // else the transfer.
    bool check() {
        bool lacking = false;
        w->dialogs.handle([&] {
            lacking = w->promotions.checkItems();
            if (!lacking) w->promotions.transferUntaken();
        });
        return lacking;
    }
    void select(const std::string& id) {
        ASSERT_TRUE(masters().locate("MASTERBILLID", id, {})) << id;
    }
    std::vector<std::string> listed() {
        std::vector<std::string> ids;
        for (int row = 0; row < masters().rowCount(); ++row)
            ids.push_back(masters().displayTextAt(row, masters().fieldByName("MASTERBILLID")));
        return ids;
    }

    // Rows of the store, read on the first connection: what the rest of the store sees.
    ds::Table storeRowsOf(const std::string& sql) {
        storedb::SqlQuery& q = w->objects.SQLQuery2;
        q.close();
        q.clearSql();
        q.addLine(sql);
        return q.openTable();
    }
    static std::string cell(const ds::Table& t, std::size_t row, const char* column) {
        for (std::size_t c = 0; c < t.columns.size(); ++c)
            if (t.columns[c].name == column) return ds::valueToText(t.rows.at(row)[c]);
        ADD_FAILURE() << "no column " << column;
        return {};
    }
    std::size_t storeCount(const std::string& table, const std::string& masterId) {
        return storeRowsOf("SELECT * FROM " + table + " WHERE MASTERBILLID = '" + masterId + "'")
            .rows.size();
    }

    std::unique_ptr<StoreWorkflows> w;
    std::vector<Fetch> fetches;
    std::vector<bool> busyTold;
};


TEST_F(Promotions, ListsTheUntakenMastersAndFetchesItemsOncePerOpenAppendAndMove) {
    download();
    ASSERT_TRUE(w->dialogs.boxes.empty()) << w->dialogs.boxes[0].text;
    std::vector<std::string> expected{"M1", "M4", "M5", "M6"};
    for (int i = 1; i <= kFillerMasters; ++i) expected.push_back(fillerId(i));
    expected.push_back("Q'7");
    EXPECT_EQ(listed(), expected);
    EXPECT_EQ(masters().fieldByName("REASON").asString(), QOR_BIG5("週年慶"));
    EXPECT_TRUE(masters().fieldByName("OVER_AMT").isNull());

    // The open and each append ask for the empty id; the move to the first master for M1.
    std::vector<Fetch> expectedFetches(expected.size() + 1, Fetch{});
    expectedFetches.push_back({"M1", 4});
    EXPECT_EQ(fetches, expectedFetches);

    // A move to the last master, however far down, makes one fetch.
    fetches.clear();
    masters().moveTo(masters().rowCount() - 1);
    EXPECT_EQ(fetches, (std::vector<Fetch>{{"Q'7", 1}}));

    // Its quote goes to the gateway doubled and to the store's look-ups as a value.
    check();
    ASSERT_TRUE(w->dialogs.boxes.empty()) << w->dialogs.boxes[0].text;
    EXPECT_EQ(storeCount("PSALE_SUB", "IMQ''7"), 1u);
    download();
    EXPECT_EQ(listed().back(), "F20");
}

TEST_F(Promotions, WithoutItemsNothingIsWrittenAndMissingProductsBringUpTheProductTab) {
    download();
    select("M4");
    EXPECT_FALSE(check());
    EXPECT_EQ(storeCount("PSALE_MASTER", "IMM4"), 0u);

    select("M5");
    EXPECT_TRUE(check());
    ASSERT_TRUE(w->dialogs.boxes.empty()) << w->dialogs.boxes[0].text;
    ASSERT_EQ(w->objects.CDS_PRODUCT.recordCount(), 1);
    EXPECT_EQ(w->objects.CDS_PRODUCT.fieldByName("PROD_ID").asString(), "B3");
    EXPECT_EQ(storeCount("PSALE_MASTER", "IMM5"), 0u);

    // The statement as composed, before the gateway client upper-cases it.
    std::stringstream dumped;
    dumped << std::ifstream(w->store.folder() / "123.TXT", std::ios::binary).rdbuf();
    EXPECT_EQ(dumped.str(), "SELECT * \r\nFROM PRODUCT \r\n where PROD_ID IN (SELECT PROD_ID FROM "
                            "PSALE_SUB WHERE MASTERBILLID = 'M5')\r\n");
}

TEST_F(Promotions, ADumpThatCannotBeWrittenEndsTheCheckBeforeAnythingIsSent) {
    download();
    std::filesystem::create_directory(w->store.folder() / "123.TXT");
    check();
    ASSERT_EQ(w->dialogs.boxes.size(), 1u);
    EXPECT_EQ(w->dialogs.boxes[0].kind, Box::Error);
    EXPECT_EQ(w->dialogs.boxes[0].text,
              "Cannot create file \"" + w->folder + "/123.TXT\". Is a directory.");
    EXPECT_EQ(w->source.findField("PROD_BARCODE"), nullptr);  // still the masters
}

TEST_F(Promotions, TheDumpsFailureGivesTheSystemsReasonInEnglishUnderAChineseLocale) {
    download();
    std::filesystem::create_directory(w->store.folder() / "123.TXT");
    ChineseSystemMessages chinese;
    if (!chinese.translated()) GTEST_SKIP() << "no translated system messages on this machine";
    check();
    ASSERT_EQ(w->dialogs.boxes.size(), 1u);
    EXPECT_EQ(w->dialogs.boxes[0].text,
              "Cannot create file \"" + w->folder + "/123.TXT\". Is a directory.");
}

TEST_F(Promotions, TransferWritesTheMasterAndItsItemsInOneTransaction) {
    download();
    // Inside the walk the item list holds still and the first connection sees nothing yet.
    int walked = 0, seenOutside = 0;
    items().afterScroll = [&](ds::Dataset& d) {
        if (!d.controlsDisabled()) return;
        ++walked;
        seenOutside += int(storeCount("PSALE_MASTER", "IMM1"));
    };
    check();
    ASSERT_TRUE(w->dialogs.boxes.empty()) << w->dialogs.boxes[0].text;
    EXPECT_EQ(walked, 3);
    EXPECT_EQ(seenOutside, 0);
    EXPECT_EQ(busyTold, (std::vector<bool>{true, false}));
    EXPECT_FALSE(items().controlsDisabled());

    const ds::Table m = storeRowsOf("SELECT * FROM PSALE_MASTER WHERE SOURCE_ID = 'M1'");
    ASSERT_EQ(m.rows.size(), 1u);
    EXPECT_EQ(cell(m, 0, "MASTERBILLID"), "IMM1");
    EXPECT_EQ(cell(m, 0, "PINI_DATE"), "2024/05/01");  // the master's INI_DATE
    EXPECT_EQ(cell(m, 0, "PEND_DATE"), "2024/06/01");
    EXPECT_EQ(cell(m, 0, "BILL_KIND"), "A");
    EXPECT_EQ(cell(m, 0, "OVER_AMT"), "0");
    EXPECT_EQ(cell(m, 0, "REASON"), QOR_BIG5("週年慶"));
    EXPECT_EQ(cell(m, 0, "PRO_NO"), "P-M1");

    // In KEYINTIME order, the item without a PROD_ID left out.
    const ds::Table s = storeRowsOf("SELECT * FROM PSALE_SUB WHERE MASTERBILLID = 'IMM1'");
    ASSERT_EQ(s.rows.size(), 3u);
    const std::vector<std::pair<const char*, std::vector<std::string>>> expected{
        {"PROD_ID", {"P2", "P1", "PX"}},          {"KEYINTIME", {"1", "2", "4"}},
        {"SEC_DIS", {"Y", "N", "N"}},             {"STOP_SALE", {"N", "Y", "ABC"}},
        {"PACK_QTY", {"6", "1", "1"}},            {"U_DIS", {"95", "100", "100"}},
        {"NEW_COST", {"12.5", "0", "0"}},         {"OLD_COST", {"11", "0", "0"}},
        {"VNEW_COST", {"7.25", "0", "0"}},        {"PLIMIT_QTY", {"3", "0", "0"}},
        {"VIP_PRICE", {"80", "", ""}},            {"G_QTY", {"1", "", ""}},  // nulls stay
        {"PINI_DATE", {"2024/04/30", "", ""}},    {"BILL_KIND", {"A", "A", "A"}},
        {"PSALE_PRICE", {"90", "90", "90"}},      {"N_QTY", {"2", "2", "2"}},
        {"END_DATE", {"2024/05/31", "2024/05/31", "2024/05/31"}},
        {"PROD_NAME", {QOR_BIG5("蘋果汁"), QOR_BIG5("蘋果汁"), QOR_BIG5("蘋果汁")}},
        {"NOTE", {"note", "", ""}},               {"V_NAME", {"vendor", "", ""}},
        {"POINT_YN", {"Y", "", ""}},              {"PRO_NO", {"PR1", "", ""}},
        {"SET_TYPE", {"S1", "", ""}},             {"POP_TYPE", {"T1", "", ""}},
        {"PROVIDER_NAME", {"supplier", "", ""}},  {"G_PROD_NAME", {"gift", "", ""}},
        {"TEMPPRODID", {"T-P2", "", ""}},         {"CHG_USER", {"HQ", "", ""}},
    };
    for (const auto& [column, values] : expected)
        for (std::size_t row = 0; row < values.size(); ++row)
            EXPECT_EQ(cell(s, row, column), values[row]) << column << " of item " << row;

    // Taken now: another check writes nothing and says nothing; the next download leaves it out.
    check();
    EXPECT_TRUE(w->dialogs.boxes.empty());
    EXPECT_EQ(storeCount("PSALE_SUB", "IMM1"), 3u);
    download();
    EXPECT_EQ(listed().front(), "M4");
}

TEST_F(Promotions, ARefusedItemRollsTheWholePromotionBackAndACorrectedRetryWritesIt) {
    download();
    select("M6");
    check();
    ASSERT_EQ(w->dialogs.boxes.size(), 1u);
    EXPECT_EQ(w->dialogs.boxes[0].kind, Box::Warning);
    const std::string& warning = w->dialogs.boxes[0].text;
    const std::string head = QOR_BIG5("資料寫入失敗..!") + "\nPROD_ID: P2\n";
    EXPECT_EQ(warning.substr(0, head.size()), head);
    EXPECT_NE(warning.find("ITEM_QTY_NOT_NEGATIVE"), std::string::npos) << warning;
    EXPECT_EQ(storeCount("PSALE_MASTER", "IMM6"), 0u);
    EXPECT_EQ(storeCount("PSALE_SUB", "IMM6"), 0u);
    EXPECT_EQ(busyTold, (std::vector<bool>{true, false}));
    EXPECT_FALSE(items().controlsDisabled());
    EXPECT_FALSE(w->objects.SQLConnection2.inTransaction());

    // The quantity corrected in the item list, the same promotion goes in whole.
    ASSERT_TRUE(items().locate("PROD_ID", "P2", {}));
    items().fieldByName("N_QTY").setAsFloat(3);
    items().post();
    check();
    EXPECT_EQ(w->dialogs.boxes.size(), 1u);
    EXPECT_EQ(storeCount("PSALE_MASTER", "IMM6"), 1u);
    EXPECT_EQ(storeCount("PSALE_SUB", "IMM6"), 2u);
}

// Asked for while a new row fetches its (no) items, a stop waits for that row to be listed
// whole and ends the listing before the next master; the first master's items still come.
TEST_F(Promotions, AStoppedDownloadKeepsTheMastersListedSoFarWholeAndStandsOnTheFirst) {
    std::uint64_t walked = 0;
    w->progress.stopAt = [&](ProgressUnit unit, std::uint64_t done) {
        if (unit == ProgressUnit::Rows) walked = done;
        return unit == ProgressUnit::Bytes && walked == 2 &&
               masters().state() == ds::DataSetState::Insert;
    };
    download();
    EXPECT_TRUE(w->dialogs.boxes.empty());
    EXPECT_EQ(masters().state(), ds::DataSetState::Browse);
    EXPECT_EQ(listed(), (std::vector<std::string>{"M1", "M4"}));  // M2 is taken
    EXPECT_EQ(masters().fieldByName("MASTERBILLID").asString(), "M1");
    EXPECT_EQ(fetches.back(), (Fetch{"M1", 4}));
}

// Items left from the master before (a fetch that failed or was stopped once left them) are
// never checked or written under the current master.
TEST_F(Promotions, ItemsOfAnotherMasterAreNeitherKeptByAFailedFetchNorWritten) {
    download();  // on M1, with its items
    w->progress.stopAt = [](ProgressUnit unit, std::uint64_t) { return unit == ProgressUnit::Bytes; };
    w->dialogs.handle([&] { masters().locate("MASTERBILLID", "M4", {}); });
    w->progress.stopAt = nullptr;
    ASSERT_EQ(masters().fieldByName("MASTERBILLID").asString(), "M4");
    EXPECT_TRUE(items().active());
    EXPECT_EQ(items().recordCount(), 0);
    EXPECT_FALSE(check());
    EXPECT_TRUE(w->dialogs.boxes.empty());

    select("M1");
    ds::Table itemsOfM1 = items().toTable();
    select("M4");
    items().close();
    items().clearFields();
    items().openWith(std::move(itemsOfM1));
    EXPECT_FALSE(check());
    ASSERT_EQ(w->dialogs.boxes.size(), 1u);
    EXPECT_EQ(w->dialogs.boxes[0].kind, Box::Warning);
    EXPECT_EQ(w->dialogs.boxes[0].text, QOR_BIG5("資料寫入失敗..!") + "\nPROD_ID: P2\n" +
                                             QOR_BIG5("品項屬於販促 M1，不是目前的 M4"));
    for (const char* table : {"PSALE_MASTER", "PSALE_SUB"})
        for (const char* id : {"IMM4", "IMM1"}) EXPECT_EQ(storeCount(table, id), 0u) << table;
}

TEST_F(Promotions, AStoppedTransferWritesNothingOfThePromotion) {
    download();
    w->progress.stopAt = [](ProgressUnit unit, std::uint64_t done) {
        return unit == ProgressUnit::Items && done == 2;  // P2, P1 in
    };
    check();
    EXPECT_TRUE(w->dialogs.boxes.empty());
    EXPECT_EQ(storeCount("PSALE_MASTER", "IMM1"), 0u);
    EXPECT_EQ(storeCount("PSALE_SUB", "IMM1"), 0u);
    EXPECT_FALSE(w->objects.SQLConnection2.inTransaction());
    EXPECT_EQ(busyTold, (std::vector<bool>{true, false}));
    EXPECT_FALSE(items().controlsDisabled());

    w->progress.stopAt = nullptr;
    check();
    EXPECT_TRUE(w->dialogs.boxes.empty());
    EXPECT_EQ(storeCount("PSALE_SUB", "IMM1"), 3u);
}

}  // namespace
}  // namespace qor::test
