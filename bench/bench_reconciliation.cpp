// The product reconciliation against a store of 100,000 products, beside the floor of its
// store look-ups; then the whole product download through qor-gateway, stage by stage.
//
// BM_Reconciliation: 20,000 head-office products with values in all 96 fields, half of them
// missing from the store, already in CDS_Source; the window's ReconcileProducts lists the
// missing ones into CDS_PRODUCT, running the validation and state-change handlers as the
// product button does. BM_LookupFloor: as many look-ups as the reconciliation made, through
// one prepared statement reused with a parameter on the same attachment (the driver level).
// The reconciliation should take at most 1.5 times the floor. BM_SameLookUpsAtTheDriver
// replays the reconciliation's own statements at the driver level, for what the layers above
// it cost.
//
// BM_DownloadStages: the product button's work for 2,000 and 20,000 changed products, one
// timed stage after another (gateway exchange, packet load, reconciliation, the grid painted
// with the listed rows); each stage's share is a counter. BM_ProductButton: the button
// itself, for the total. The window is shown (offscreen), so the grid and the editor follow
// every listed row as they do for the staff.
//
// BM_ReconciliationDisplayCost: BM_Reconciliation's work without the window's progress display
// and with it, in pairs (display_cost.h); what the display adds should stay under 2 %.
//
// All figures are wall-clock: the embedded engine and the gateway work on threads and
// processes of their own. Run offscreen: QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "display_cost.h"
#include "reconciliation_data.h"
#include "dataset/packet.h"
#include "gateway/FrmDataModHttp.h"
#include "gateway/gateway_statement.h"
#include "gateway/http_poster.h"
#include "gateway/multipart_request.h"
#include "gateway/reply_dump.h"
#include "gateway_process.h"
#include "storedb/product_record.h"
#include "temp_database.h"
#include "text/local_date.h"
#include "window/FrmQorClient.h"
#include "window_bench.h"

namespace {

using namespace qor;
using Clock = std::chrono::steady_clock;

using bench::SilentDialogs;

// The store, the head office behind its gateway, and the window between them; made once.
struct Setup {
    test::TempDatabase storeDb{bench::storeRowsSql()};
    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
    test::GatewayProcess gateway;
    SilentDialogs dialogs;
    std::unique_ptr<window::TFormQorClient> form;
    std::unique_ptr<gateway::TDataModHttp> http;
    ds::Table reply = bench::headOfficeProducts(bench::kReplyProducts);

    Setup() {
        bench::fillStoreProducts(storeDb.path());
        bench::fillHeadOffice(gateway, reply);
        test::writeDbxFiles(storeDb.folder(), storeDb.path());
        test::useDbxFilesIn(paths, storeDb.folder());
        gateway.writeHttpSet(gateway.clientDir());
        form = std::make_unique<window::TFormQorClient>(dialogs, nullptr, &paths);
        http = std::make_unique<gateway::TDataModHttp>(gateway.clientDir(), gateway.clientDir(),
                                                       dialogs);
        form->setDataModHttp(http.get());
        // The product tab on screen, as the staff see it: the grid follows every listed row.
        form->show();
        form->workArea().Panel3->show();
        form->SwitchTabs(window::TabSwitch::ProductButton);
        QApplication::processEvents();
    }

    storedb::StoreObjects& store() { return form->store(); }
    // The comparison as the product button makes it: the grid held until the list is made.
    void reconcile() {
        const window::GridUpdatesHeld listing(*form->productPage().DBGrid1);
        form->productDownload().listLacking(form->source(), false);
    }
    std::uint64_t lookUps() { return store().SQLQuery1.openCount() + store().SQLQuery2.openCount(); }
};

std::unique_ptr<Setup> g_setup;  // made in main, gone before the application

Setup& setup() {
    if (!g_setup) g_setup = std::make_unique<Setup>();
    return *g_setup;
}

// ---------------------------------------------------------------- reconciliation and floor

std::uint64_t g_lookUps = 0;  // look-ups of one reconciliation, for the floor to repeat

void BM_Reconciliation(benchmark::State& state) {
    Setup& s = setup();
    try {
        for (auto _ : state) {
            s.form->source().openWith(s.reply);
            const std::uint64_t before = s.lookUps();
            const auto start = Clock::now();
            s.reconcile();
            state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
            g_lookUps = s.lookUps() - before;
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(s.reply.rows.size()));
    state.counters["listed"] = s.store().CDS_PRODUCT.recordCount();
    state.counters["look-ups"] = double(g_lookUps);
}
BENCHMARK(BM_Reconciliation)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_LookupFloor(benchmark::State& state) {
    Setup& s = setup();
    dbx::Connection& db = s.store().SQLConnection1.attachment();
    const std::string sql =
        "SELECT PROD_ID,PROD_BARCODE FROM PRODUCT WHERE PROD_BARCODE = ? OR PROD_ID = ? OR "
        "PROD_BARCODE = ?";
    const std::size_t barcodeColumn = bench::columnOf(s.reply, "PROD_BARCODE");
    ds::Row row;
    for (auto _ : state) {
        for (std::uint64_t n = 0; n < g_lookUps; ++n) {
            const ds::Value& b = s.reply.rows[n % s.reply.rows.size()][barcodeColumn];
            auto cursor = db.query(sql, {b, b, b});
            benchmark::DoNotOptimize(cursor->fetch(row));
        }
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(g_lookUps));
    state.counters["look-ups"] = double(g_lookUps);
}
BENCHMARK(BM_LookupFloor)->UseRealTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// The reconciliation's own look-ups replayed at the driver level, in its order and with its
// values (barcode; the appended row's empty code; supplier, category and attribute codes;
// the emptied category; the posted code), each statement prepared once: what is left of the
// reconciliation's time beyond this is the dataset work and the store layer above the driver.
void BM_SameLookUpsAtTheDriver(benchmark::State& state) {
    Setup& s = setup();
    dbx::Connection& db = s.store().SQLConnection1.attachment();
    const ds::Table& reply = s.reply;
    const auto column = [&](const char* name) { return bench::columnOf(reply, name); };
    const std::size_t barcode = column("PROD_BARCODE"), supplier = column("PROVIDER_ID"),
                      category = column("PD_ITEMID"), attribute = column("PD_CLASSID");
    std::uint64_t made = 0;
    ds::Row row;
    auto found = [&](const char* sql, const ds::Value& v, int markers = 1) {
        ++made;
        return db.query(sql, std::vector<ds::Value>(std::size_t(markers), v))->fetch(row);
    };
    for (auto _ : state) {
        for (const ds::Row& source : reply.rows) {
            const ds::Value& b = source[barcode];
            if (found("SELECT PROD_ID FROM PRODUCT WHERE PROD_BARCODE = ? OR PROD_ID = ? OR "
                      "PROD_BARCODE = ?", b, 3) ||
                found("SELECT PROD_ID FROM PROD_SALE WHERE SAL_BARCODE = ?", b))
                continue;
            found("SELECT PROD_ID FROM PRODUCT WHERE PROD_ID = ?", std::string());
            found("SELECT * FROM PROVIDER WHERE PROVIDER_ID = ?", source[supplier]);
            found("SELECT * FROM PROD_ITEM WHERE PD_ITEMID = ?", source[category]);
            found("SELECT * FROM PROD_CLASS WHERE PD_CLASSID = ?", source[attribute]);
            found("SELECT * FROM PROD_ITEM WHERE PD_ITEMID = ?", std::string());
            found("SELECT PROD_ID FROM PRODUCT WHERE PROD_ID = ?", b);
        }
    }
    state.SetItemsProcessed(std::int64_t(made));
    state.counters["look-ups"] = double(made) / double(state.iterations());
}
BENCHMARK(BM_SameLookUpsAtTheDriver)->UseRealTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- what the display costs

bench::DisplayCost g_displayCost;

void BM_ReconciliationDisplayCost(benchmark::State& state) {
    Setup& s = setup();
    const auto reconcile = [&s](bool display) {
        s.form->showWorkProgress(display);
        s.form->source().openWith(s.reply);
        const auto start = Clock::now();
        s.reconcile();
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        s.form->showWorkProgress(true);
        return took;
    };
    const auto updating = [&s] { return s.form->workDisplay().timeUpdating(); };
    g_displayCost.measure(state, reconcile, updating);
}
BENCHMARK(BM_ReconciliationDisplayCost)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- the whole download

// Ed_Day for a reply of that many products: the newest 2,000 changed today, the rest
// three days ago.
int daysFor(int products) { return products <= bench::kChangedToday ? 1 : 7; }

// The statement the product button sends for `days`.
std::string productStatement(int days) {
    return "SELECT a.* \r\nFROM PRODUCT a \r\n where a.CHG_DATE >= '" +
           text::localDateText(days) + "'\r\n";
}

struct Stage {
    const char* name;
    std::function<void()> run;
};

// What the product button does, cut where the time goes.
std::vector<Stage> downloadStages(Setup& s, const std::string& statement, std::string& reply) {
    return {
        {"gateway",
         [&s, &statement, &reply] {
             gateway::HttpPoster poster(std::chrono::milliseconds(300000));
             const std::string boundary = "--------010124120000000";
             const std::string body = gateway::multipartBody(
                 boundary, {{"user_name", s.gateway.account().userName},
                            {"password", s.gateway.account().password},
                            {"sql", gateway::gatewayStatement(statement)}});
             reply = poster.post(s.http->QueryUrl() + "?user_name=" +
                                     s.gateway.account().userName +
                                     "&password=" + s.gateway.account().password,
                                 boundary, body);
             gateway::writeReplyDump(s.gateway.clientDir(), reply);
         }},
        {"packet load", [&s, &reply] { ds::loadPacket(s.form->source(), reply); }},
        {"reconciliation", [&s] { s.reconcile(); }},
        {"grid shown",
         [&s] {
             QApplication::processEvents();  // what the grid and editor left for the next turn
             s.form->productPage().DBGrid1->viewport()->repaint();
         }},
    };
}

void BM_DownloadStages(benchmark::State& state) {
    Setup& s = setup();
    const std::string statement = productStatement(daysFor(int(state.range(0))));
    std::string reply;
    const std::vector<Stage> stages = downloadStages(s, statement, reply);
    std::vector<double> seconds(stages.size(), 0.0);
    try {
        for (auto _ : state) {
            double total = 0;
            for (std::size_t i = 0; i < stages.size(); ++i) {
                const auto start = Clock::now();
                stages[i].run();
                const double took = std::chrono::duration<double>(Clock::now() - start).count();
                seconds[i] += took;
                total += took;
            }
            state.SetIterationTime(total);
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    double all = 0;
    for (double t : seconds) all += t;
    for (std::size_t i = 0; i < stages.size(); ++i)
        state.counters[std::string(stages[i].name) + " %"] = 100.0 * seconds[i] / all;
    state.counters["rows"] = s.form->source().recordCount();
    state.counters["listed"] = s.store().CDS_PRODUCT.recordCount();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DownloadStages)
    ->Arg(bench::kChangedToday)
    ->Arg(bench::kReplyProducts)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

void BM_ProductButton(benchmark::State& state) {
    Setup& s = setup();
    s.form->signInBar().Ed_Day->setText(QString::number(daysFor(int(state.range(0)))));
    s.form->workArea().CheckBox1->setChecked(false);
    s.dialogs.last.clear();
    for (auto _ : state) s.form->SpeedButton2Click();
    if (!s.dialogs.last.empty()) state.SkipWithError(s.dialogs.last.c_str());
    state.counters["listed"] = s.store().CDS_PRODUCT.recordCount();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ProductButton)
    ->Arg(bench::kChangedToday)
    ->Arg(bench::kReplyProducts)
    ->UseRealTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- summary

// Prints what the console shows, then the reconciliation beside its floor.
class FloorReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) seconds_[run.run_name.function_name] = run.GetAdjustedRealTime() / 1000.0;
    }

    void printSummary() const {
        auto reconciliation = seconds_.find("BM_Reconciliation");
        auto floor = seconds_.find("BM_LookupFloor");
        auto same = seconds_.find("BM_SameLookUpsAtTheDriver");
        if (reconciliation == seconds_.end() || floor == seconds_.end() || floor->second <= 0) return;
        const double rows = double(bench::kReplyProducts);
        std::printf("\nreconciliation of %.0f rows: %.3f s, %.0f rows/s, %llu look-ups\n", rows,
                    reconciliation->second, rows / reconciliation->second,
                    static_cast<unsigned long long>(g_lookUps));
        std::printf("floor, the same look-ups through one prepared statement: %.3f s\n",
                    floor->second);
        std::printf("reconciliation / floor: %.2f (at most 1.50 wanted)\n",
                    reconciliation->second / floor->second);
        if (same != seconds_.end() && same->second > 0)
            std::printf("its own look-ups at the driver level: %.3f s; reconciliation / them: %.2f\n",
                        same->second, reconciliation->second / same->second);
    }

private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int main(int argc, char** argv) {
    FloorReporter reporter;
    return bench::runWindowBenchmarks(
        argc, argv,
        {.prepare = [] { setup(); },
         .reporter = &reporter,
         .summary = [&reporter] {
             reporter.printSummary();
             g_displayCost.print("reconciliation of 20,000 rows");
         },
         .release = [] { g_setup.reset(); }});
}
