// How long an event posted to the window waits before the window handles it while long work
// runs: during a slow exchange (qor-gateway spreading the supplier list over four seconds)
// and during the comparison of 20,000 downloaded products with a store of 100,000 (the
// product button's listing, the product tab on screen). A thread posts a stamped event to
// the window every 2 ms; the window's event filter notes how long each waited. Each case
// prints the median and the 99th percentile of the waits: wanted, during the exchange at
// most 20 ms and 100 ms, during the comparison a median of at most 50 ms.
//
// Run offscreen (QT_QPA_PLATFORM=offscreen), on a machine doing nothing else.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gateway/FrmDataModHttp.h"
#include "gateway_process.h"
#include "reconciliation_data.h"
#include "temp_database.h"
#include "window/FrmQorClient.h"
#include "window_bench.h"

namespace {

using namespace qor;
using Clock = std::chrono::steady_clock;

const QEvent::Type kProbeEvent = QEvent::Type(QEvent::User + 7);

struct StampedEvent : QEvent {
    explicit StampedEvent(Clock::time_point at) : QEvent(kProbeEvent), posted(at) {}
    Clock::time_point posted;
};

// Posts a stamped event to the window every 2 ms from a thread of its own for as long as it
// lives, and notes each one's wait when the window handles it.
class EventProbe : public QObject {
public:
    explicit EventProbe(QWidget& window) : window_(window) {
        window_.installEventFilter(this);
        poster_ = std::thread([this] {
            while (!stopping_) {
                QCoreApplication::postEvent(&window_, new StampedEvent(Clock::now()));
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    ~EventProbe() override {
        stopping_ = true;
        poster_.join();
        window_.removeEventFilter(this);
        QCoreApplication::removePostedEvents(&window_, kProbeEvent);
    }

    std::vector<double> waitsMs() {
        std::lock_guard lock(mutex_);
        return waits_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &window_ || event->type() != kProbeEvent) return false;
        const auto waited = Clock::now() - static_cast<StampedEvent*>(event)->posted;
        std::lock_guard lock(mutex_);
        waits_.push_back(std::chrono::duration<double, std::milli>(waited).count());
        return true;
    }

private:
    QWidget& window_;
    std::thread poster_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::vector<double> waits_;
};

// The store, two gateways (a slow one with a few suppliers, a quick one with the 20,000
// products) and the window between them; made once.
struct Setup {
    test::TempDatabase storeDb{bench::storeRowsSql()};
    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
    test::GatewayProcess slowGateway{
        "INSERT INTO PROVIDER (PROVIDER_ID, PROVIDER_NAME) VALUES ('V01', 'supplier');\n",
        {},
        {"--delay", "4000"}};
    bench::SilentDialogs dialogs;
    std::unique_ptr<window::TFormQorClient> form;
    std::unique_ptr<gateway::TDataModHttp> slowHttp;
    ds::Table reply = bench::headOfficeProducts(bench::kReplyProducts);

    Setup() {
        bench::fillStoreProducts(storeDb.path());
        test::writeDbxFiles(storeDb.folder(), storeDb.path());
        test::useDbxFilesIn(paths, storeDb.folder());
        slowGateway.writeHttpSet(slowGateway.clientDir());
        form = std::make_unique<window::TFormQorClient>(dialogs, nullptr, &paths);
        slowHttp = std::make_unique<gateway::TDataModHttp>(slowGateway.clientDir(),
                                                           slowGateway.clientDir(), dialogs);
        form->setDataModHttp(slowHttp.get());
        form->show();
        form->workArea().Panel3->show();
        form->SwitchTabs(window::TabSwitch::ProductButton);
        QApplication::processEvents();
    }
};

std::unique_ptr<Setup> g_setup;

struct Waits {
    double median = 0, p99 = 0;
    std::size_t count = 0;
};
Waits g_exchange, g_comparison;

Waits summarize(std::vector<double> waits) {
    std::sort(waits.begin(), waits.end());
    if (waits.empty()) return {};
    const auto at = [&](double share) { return waits[std::size_t(share * double(waits.size() - 1))]; };
    return {at(0.5), at(0.99), waits.size()};
}

void report(benchmark::State& state, const Waits& waits) {
    state.counters["median ms"] = waits.median;
    state.counters["p99 ms"] = waits.p99;
    state.counters["events"] = double(waits.count);
}

void BM_DuringASlowExchange(benchmark::State& state) {
    Setup& s = *g_setup;
    std::vector<double> all;
    for (auto _ : state) {
        EventProbe probe(*s.form);
        s.dialogs.last.clear();
        s.form->SpeedButton4Click();
        if (!s.dialogs.last.empty()) state.SkipWithError(s.dialogs.last.c_str());
        const auto waits = probe.waitsMs();
        all.insert(all.end(), waits.begin(), waits.end());
    }
    g_exchange = summarize(all);
    report(state, g_exchange);
}
BENCHMARK(BM_DuringASlowExchange)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_DuringTheComparison(benchmark::State& state) {
    Setup& s = *g_setup;
    std::vector<double> all;
    for (auto _ : state) {
        s.form->source().openWith(s.reply);
        EventProbe probe(*s.form);
        try {
            const window::GridUpdatesHeld listing(*s.form->productPage().DBGrid1);
            s.form->productDownload().listLacking(s.form->source(), false);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            return;
        }
        const auto waits = probe.waitsMs();
        all.insert(all.end(), waits.begin(), waits.end());
    }
    g_comparison = summarize(all);
    report(state, g_comparison);
}
BENCHMARK(BM_DuringTheComparison)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

void printSummary() {
    std::printf("\nan event posted to the window waits, median / 99th percentile:\n");
    std::printf("  during a slow exchange:            %6.1f ms / %6.1f ms "
                "(at most 20 / 100 wanted)\n",
                g_exchange.median, g_exchange.p99);
    std::printf("  during the comparison of 20,000:   %6.1f ms / %6.1f ms "
                "(a median of at most 50 wanted)\n",
                g_comparison.median, g_comparison.p99);
}

}  // namespace

int main(int argc, char** argv) {
    return bench::runWindowBenchmarks(
        argc, argv,
        {.prepare = [] { g_setup = std::make_unique<Setup>(); },
         .summary = printSummary,
         .release = [] { g_setup.reset(); }});
}
