// The promotion transfer of 2,000 items beside its floor, in the same run.
//
// Each iteration times two things one after the other, so both meet the same load:
// - the transfer: the window's TransferPromotion writes a master and its 2,000 items (every
//   column valued, as a head-office reply gives them) into a store database file, in one
//   transaction on SQLConnection2. The items stand in CDS_PSaleSub as an item fetch leaves
//   them; no gateway takes part (the master list's fetch handlers are unbound). Each
//   iteration writes a promotion of its own id, its items carrying that id as a fetch of
//   the master's items gives them.
// - the floor: the same 2,000 rows through one prepared INSERT (the transfer's own item
//   statement) reused with positional values in one transaction on the same attachment, at
//   the driver level.
// The medians are compared: the transfer should take at most 1.5 times the floor.
//
// Wall-clock figures: the embedded engine works on threads of its own. Run offscreen:
// QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "workflows/promotion_inserts.h"
#include "temp_database.h"
#include "text/ascii.h"
#include "text/cp950.h"
#include "window/FrmQorClient.h"
#include "window_bench.h"

namespace {

using namespace qor;
using Clock = std::chrono::steady_clock;
using ds::FieldKind;

constexpr int kItems = 2000;

using bench::SilentDialogs;

// The head office's PSALE_SUB reply: its columns, each item valued in every one.
ds::Table items() {
    const std::vector<std::pair<const char*, FieldKind>> columns{
        {"MASTERBILLID", FieldKind::String}, {"PROD_ID", FieldKind::String},
        {"PROD_NAME", FieldKind::String},    {"PROD_BARCODE", FieldKind::String},
        {"PD_ITEMID", FieldKind::String},    {"PSALE_FLAG", FieldKind::String},
        {"PSALE_PRICE", FieldKind::Float},   {"OLD_PRICE", FieldKind::Float},
        {"N_QTY", FieldKind::Float},         {"G_PROD_ID", FieldKind::String},
        {"G_PROD_NAME", FieldKind::String},  {"G_QTY", FieldKind::Float},
        {"TEMPPRODID", FieldKind::String},   {"STORE_ID", FieldKind::String},
        {"CHG_DATE", FieldKind::String},     {"CHG_USER", FieldKind::String},
        {"VIP_PRICE", FieldKind::Float},     {"INI_DATE", FieldKind::String},
        {"END_DATE", FieldKind::String},     {"NEW_COST", FieldKind::Float},
        {"KEYINTIME", FieldKind::String},    {"SEC_DIS", FieldKind::String},
        {"PINI_DATE", FieldKind::String},    {"PEND_DATE", FieldKind::String},
        {"VNEW_COST", FieldKind::Float},     {"PACK_QTY", FieldKind::Float},
        {"PLIMIT_QTY", FieldKind::Float},    {"NOTE", FieldKind::String},
        {"V_NAME", FieldKind::String},       {"STOP_SALE", FieldKind::String},
        {"BILL_KIND", FieldKind::String},    {"U_DIS", FieldKind::Float},
        {"PROVIDER_ID", FieldKind::String},  {"PROVIDER_NAME", FieldKind::String},
        {"OLD_COST", FieldKind::Float},      {"POINT_YN", FieldKind::String},
        {"PRO_NO", FieldKind::String},       {"SET_TYPE", FieldKind::String},
        {"POP_TYPE", FieldKind::String}};
    ds::Table table;
    for (const auto& [name, kind] : columns)
        table.columns.push_back({name, kind, kind == FieldKind::String ? 50 : 0});
    for (int i = 0; i < kItems; ++i) {
        char id[16];
        std::snprintf(id, sizeof id, "P%05d", i);
        table.rows.push_back(
            {"BENCH", id, QOR_BIG5("蘋果汁"), std::string("471") + id, "A01", "1", 90.0, 100.0,
             1.0, "", "", 0.0, "", "S001", "2024/04/21", "HQ", 85.0, "2024/05/01", "2024/05/31",
             50.0, std::string("2024/04/20 ") + id, "N", "2024/04/30", "2024/06/01", 48.0, 6.0,
             0.0, "", "", "n", "1", 100.0, "V01", QOR_BIG5("四季食品行"), 50.0, "Y", "P001", "",
             ""});
    }
    return table;
}

// The store, the window over it and a promotion in the master and item lists; made once.
struct Setup {
    test::TempDatabase storeDb;
    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
    SilentDialogs dialogs;
    std::unique_ptr<window::TFormQorClient> form;
    ds::Table reply = items();
    int promotions = 0;

    Setup() {
        test::writeDbxFiles(storeDb.folder(), storeDb.path());
        test::useDbxFilesIn(paths, storeDb.folder());
        form = std::make_unique<window::TFormQorClient>(dialogs, nullptr, &paths);
        ds::Dataset& masters = form->store().CDS_PsaleMaster;
        masters.afterOpen = nullptr;
        masters.afterScroll = nullptr;
        masters.setCommandText("select * from psale_master where masterbillid = '-1' ");
        masters.open();
        masters.append();
        masters.fieldByName("MASTERBILLID").setAsString("BENCH0");
        masters.post();
        form->promotions().CDS_PSaleSub.openWith(reply);
    }

    // A promotion id not written yet, its items in the item list as its fetch leaves them.
    void nextPromotion() {
        const std::string promotion = "BENCH" + std::to_string(++promotions);
        form->store().CDS_PsaleMaster.fieldByName("MASTERBILLID").setAsString(promotion);
        form->store().CDS_PsaleMaster.post();
        ds::Table ofThisPromotion = reply;
        for (ds::Row& row : ofThisPromotion.rows) row.at(0) = promotion;  // MASTERBILLID
        ds::Dataset& items = form->promotions().CDS_PSaleSub;
        items.close();
        items.openWith(ofThisPromotion);
    }
};

std::unique_ptr<Setup> g_setup;  // made before any clock starts, gone before QApplication

// The item statement's values as the transfer binds them, in marker order.
std::vector<std::vector<ds::Value>> floorValues(const ds::Table& reply,
                                                storedb::SqlQuery& items,
                                                const std::string& promotionId) {
    std::vector<std::vector<ds::Value>> all;
    for (const ds::Row& row : reply.rows) {
        std::vector<ds::Value> values;
        for (int m = 0; m < items.params().count(); ++m) {
            const std::string& name = items.params().at(m).name();
            std::size_t c = 0;
            while (!text::equalsNoCase(reply.columns.at(c).name, name)) ++c;
            values.push_back(name == "MASTERBILLID" ? ds::Value(promotionId) : row.at(c));
        }
        all.push_back(std::move(values));
    }
    return all;
}

double secondsOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double g_transfer = 0, g_floor = 0;  // medians, for the summary

// One transfer, then the floor, in every iteration: both meet the same load on the machine.
void BM_TransferBesideFloor(benchmark::State& state) {
    Setup& s = *g_setup;
    storedb::SqlQuery& itemInsert = s.form->store().SQL_S;
    dbx::Connection& db = s.form->store().SQLConnection2.attachment();
    auto transfer = [&] { s.form->promotions().TransferPromotion(); };
    s.nextPromotion();
    transfer();  // prepares both statements and composes the item statement for the floor
    if (!s.dialogs.last.empty()) {
        state.SkipWithError(s.dialogs.last.c_str());
        return;
    }
    const std::string sql = itemInsert.params().positionalSql();
    const auto values = floorValues(s.reply, itemInsert, "IMFLOOR");
    auto floor = [&] {
        db.startTransaction(storedb::kReadCommitted);
        for (const auto& row : values) db.execute(sql, row);
        db.commit();
    };
    std::vector<double> transfers, floors;
    for (auto _ : state) {
        s.nextPromotion();
        transfers.push_back(secondsOf(transfer));
        floors.push_back(secondsOf(floor));
        state.SetIterationTime(transfers.back());
        if (!s.dialogs.last.empty()) {
            state.SkipWithError(s.dialogs.last.c_str());
            return;
        }
    }
    g_transfer = median(transfers);
    g_floor = median(floors);
    state.counters["floor ms"] = g_floor * 1000;
    state.counters["ratio"] = g_transfer / g_floor;
    state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_TransferBesideFloor)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWindowBenchmarks(
        argc, argv,
        {.prepare = [] { g_setup = std::make_unique<Setup>(); },
         .summary =
             [] {
                 if (g_floor <= 0) return;
                 std::printf("\ntransfer of %d items (median): %.3f s\n", kItems, g_transfer);
                 std::printf("floor, one prepared INSERT reused in one transaction (median): "
                             "%.3f s\n",
                             g_floor);
                 std::printf("transfer / floor: %.2f (at most 1.50 wanted)\n",
                             g_transfer / g_floor);
             },
         .release = [] { g_setup.reset(); }});
}
