// The product comparison (the reconciliation) at set speed, and the whole product download.
//
// BM_Comparison: for each way of reaching the store (embedded; through the Firebird server on
// 127.0.0.1 that scripts/firebird-server starts, when it can be started) and each size (2,000
// and 20,000 downloaded products against stores of 10,000 and 100,000), the comparison as the
// product button makes it (the store's keys read once, or the download's values asked in
// batches, chosen by size) beside the per-row floor: as many look-ups as the per-row method
// makes (one a question, as each row and field comes), through one prepared statement reused
// with a parameter on the same attachment. Half of each download is new to the store; each
// new row runs the validation and state-change handlers as the product button does. Wanted:
// at most 0.35 of the floor for 20,000 against 100,000, at most 0.8 for every other size.
//
// BM_DownloadStages: the product button's work for 2,000 and 20,000 changed products (store of
// 100,000, embedded), one timed stage after another (gateway exchange, packet load,
// comparison, the grid painted with the listed rows); each stage's share is a counter.
// BM_ProductButton: the button itself, for the total. The window is shown (offscreen), so the
// grid and the editor follow the listed rows as they do for the staff.
//
// BM_ReconciliationDisplayCost: the comparison of 20,000 against 100,000 without the window's
// progress display and with it, in pairs (display_cost.h); what the display adds should stay
// under 2 %.
//
// All figures are wall-clock: the database engine and the gateway work on threads and
// processes of their own. Run offscreen: QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
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
#include "store_workflows.h"
#include "temp_database.h"
#include "temp_folder.h"
#include "text/local_date.h"
#include "window/FrmQorClient.h"
#include "window_bench.h"

namespace {

using namespace qor;
using Clock = std::chrono::steady_clock;

using bench::SilentDialogs;

constexpr int kSmallStore = 10000;
constexpr int kSmallDownload = bench::kChangedToday;

// The server the comparison is also measured through: the one the tests use when they run,
// else started here (and stopped at the end) with the project's script.
class FirebirdServer {
public:
    FirebirdServer() {
        if (const char* host = std::getenv("QOR_TEST_FB_SERVER"); host && *host) {
            host_ = host;
            return;
        }
        const std::string script = std::string(QOR_SOURCE_DIR) + "/scripts/firebird-server";
        if (std::system((script + " start >/dev/null 2>&1").c_str()) == 0) {
            host_ = "127.0.0.1";
            started_ = script;
        }
    }
    ~FirebirdServer() {
        if (!started_.empty()) std::system((started_ + " stop >/dev/null 2>&1").c_str());
    }
    // "" when there is none.
    const std::string& host() const { return host_; }

private:
    std::string host_, started_;
};

// A store database file of `products` products, and a copy of it for the server: embedded,
// one process at a time opens a file.
struct StoreFiles {
    explicit StoreFiles(int products) {
        bench::fillStoreProducts(db.path(), products);
        std::filesystem::copy_file(db.path(), serverCopy());
    }
    std::string serverCopy() const { return (db.folder() / "SERVER.FDB").string(); }
    test::TempDatabase db{bench::storeRowsSql()};
};

// The stores, the head office behind its gateway, and the window between them; made once.
struct Setup {
    FirebirdServer server;
    StoreFiles smallStore{kSmallStore};
    StoreFiles largeStore{bench::kStoreProducts};
    test::TempDatabase& storeDb = largeStore.db;
    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
    test::GatewayProcess gateway;
    SilentDialogs dialogs;
    std::unique_ptr<window::TFormQorClient> form;
    std::unique_ptr<gateway::TDataModHttp> http;
    ds::Table reply = bench::headOfficeProducts(bench::kReplyProducts);

    Setup() {
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
};

std::unique_ptr<Setup> g_setup;  // made in main, gone before the application

Setup& setup() {
    if (!g_setup) g_setup = std::make_unique<Setup>();
    return *g_setup;
}

// ---------------------------------------------------------------- the comparison and its floor

// The workflows over one store reached one way, with their own definition files.
struct ComparedStore {
    ComparedStore(const std::string& database) {
        test::writeDbxFiles(folder.path(), database);
        test::useDbxFilesIn(paths, folder.path());
        w = std::make_unique<test::Workflows>(paths, folder.path().string());
    }
    test::TempFolder folder{"qor-compared-"};
    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
    std::unique_ptr<test::Workflows> w;
};

struct ComparisonFigures {
    bool server;
    int store, download;
    std::uint64_t lookUps;
    double perRow, floor, bySet;
    double floorCpu, bySetCpu;  // the program's own processor time (all its threads)
};

// Wall-clock and processor seconds of one run.
struct Took {
    double wall, cpu;
};
template <typename Work>
Took timed(Work work) {
    const std::clock_t cpuStart = std::clock();
    const auto start = Clock::now();
    work();
    return {std::chrono::duration<double>(Clock::now() - start).count(),
            double(std::clock() - cpuStart) / CLOCKS_PER_SEC};
}
std::vector<ComparisonFigures> g_comparisons;
std::map<std::pair<int, int>, std::uint64_t> g_perRowLookUps;  // by store and download

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One comparison of `download` rows on `store`, the way given.
Took compare(ComparedStore& store, const ds::Table& download, workflows::StoreLookUps how) {
    test::Workflows& w = *store.w;
    w.products.setStoreLookUps(how);
    w.source.close();
    w.source.clearFields();
    w.source.openWith(download);
    return timed([&] { w.products.listLacking(w.source, false); });
}

// `lookUps` look-ups through one prepared statement, the download's barcodes in turn.
Took floorOf(ComparedStore& store, const ds::Table& download, std::uint64_t lookUps) {
    dbx::Connection& db = store.w->objects.SQLConnection1.attachment();
    const std::size_t barcodeColumn = bench::columnOf(download, "PROD_BARCODE");
    ds::Row row;
    return timed([&] {
        for (std::uint64_t n = 0; n < lookUps; ++n) {
            const ds::Value& b = download.rows[n % download.rows.size()][barcodeColumn];
            auto cursor = db.query("SELECT PROD_ID,PROD_BARCODE FROM PRODUCT WHERE PROD_BARCODE = ? "
                                   "OR PROD_ID = ? OR PROD_BARCODE = ?",
                                   {b, b, b});
            benchmark::DoNotOptimize(cursor->fetch(row));
        }
    });
}

// Arguments: through the server (0, 1), store size, download size.
void BM_Comparison(benchmark::State& state) {
    Setup& s = setup();
    const bool server = state.range(0) != 0;
    const int storeSize = int(state.range(1)), downloadSize = int(state.range(2));
    if (server && s.server.host().empty()) {
        state.SkipWithError("no Firebird server could be started");
        return;
    }
    const StoreFiles& files = storeSize == kSmallStore ? s.smallStore : s.largeStore;
    ComparisonFigures figures{server, storeSize, downloadSize, 0, 0, 0, 0, 0, 0};
    try {
        ComparedStore store(server ? s.server.host() + ":" + files.serverCopy() : files.db.path());
        ds::Table download = bench::headOfficeProducts(downloadSize, storeSize);
        storedb::StoreObjects& objects = store.w->objects;
        const auto lookUps = [&] { return objects.SQLQuery1.openCount() + objects.SQLQuery2.openCount(); };
        compare(store, download, workflows::StoreLookUps::BySize);  // connects, prepares
        const std::uint64_t before = lookUps();
        figures.perRow = compare(store, download, workflows::StoreLookUps::ByRow).wall;
        figures.lookUps = lookUps() - before;
        std::vector<double> floors, sets, floorCpus, setCpus;
        for (auto _ : state) {
            for (int run = 0; run < 3; ++run) {
                if (floors.empty() || floors.back() < 3.0) {
                    const Took floor = floorOf(store, download, figures.lookUps);
                    floors.push_back(floor.wall);
                    floorCpus.push_back(floor.cpu);
                }
                const Took bySet = compare(store, download, workflows::StoreLookUps::BySize);
                sets.push_back(bySet.wall);
                setCpus.push_back(bySet.cpu);
            }
            state.SetIterationTime(median(sets));
        }
        figures.floor = median(floors);
        figures.bySet = median(sets);
        figures.floorCpu = median(floorCpus);
        figures.bySetCpu = median(setCpus);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    g_comparisons.push_back(figures);
    state.counters["look-ups"] = double(figures.lookUps);
    state.counters["per-row s"] = figures.perRow;
    state.counters["floor s"] = figures.floor;
    state.counters["ratio"] = figures.bySet / figures.floor;
}
BENCHMARK(BM_Comparison)
    ->ArgsProduct({{0, 1}, {kSmallStore, bench::kStoreProducts}, {kSmallDownload, bench::kReplyProducts}})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

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

// The comparison beside its floor, each way and size, with the ratio wanted.
void printComparisons() {
    if (g_comparisons.empty()) return;
    std::printf("\nthe comparison beside the per-row floor (the same look-ups through one "
                "prepared statement):\n");
    std::printf("%-9s %8s %9s %9s %10s %9s %9s %7s %7s %10s\n", "store", "products", "download",
                "look-ups", "per-row s", "floor s", "by set s", "ratio", "wanted", "cpu ratio");
    for (const ComparisonFigures& f : g_comparisons) {
        const bool largest = f.store == bench::kStoreProducts && f.download == bench::kReplyProducts;
        // Through a server most of the work is the server's, which this program's clock does
        // not see.
        char cpuRatio[16] = "-";
        if (!f.server && f.floorCpu > 0) std::snprintf(cpuRatio, sizeof cpuRatio, "%.2f", f.bySetCpu / f.floorCpu);
        std::printf("%-9s %8d %9d %9llu %10.3f %9.3f %9.3f %7.2f %7s %10s\n",
                    f.server ? "server" : "embedded", f.store, f.download,
                    static_cast<unsigned long long>(f.lookUps), f.perRow, f.floor, f.bySet,
                    f.bySet / f.floor, largest ? "<= 0.35" : "<= 0.80", cpuRatio);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return bench::runWindowBenchmarks(
        argc, argv,
        {.prepare = [] { setup(); },
         .summary = [] {
             printComparisons();
             g_displayCost.print("comparison of 20,000 rows with a store of 100,000");
         },
         .release = [] { g_setup.reset(); }});
}
