// Gateway round trips on loopback: OpenRemoteQuery against qor-gateway for a one-row reply
// (round trips per second) and for 20,000 products (milliseconds a call), each beside curl
// posting the same form to the same gateway; for 20,000 products the two take turns. Our
// client's figures include writing the reply dump and loading the packet into a dataset;
// curl's figures are the transfer alone (its own -w timing, so starting the curl process is
// not counted). Each OpenRemoteQuery run shows, per call, the time of its steps: transfer
// (reading the packet's rows as they arrive included), dump and load; the end of the output
// gives our rate against curl's. The 20,000 products go over TLS as well: a second gateway
// over the same rows serves HTTPS with a certificate of an authority made for the run, our
// client trusting it through "cafile" and curl through --cacert (wanted: at least 0.9 of
// curl's rate). Every request starts with a new
// boundary taken from the millisecond clock, so on loopback a call that ends within one
// millisecond waits for the next: OpenRemoteQuery stays under 1000 calls a second there.
// BM_HttpPost_OneRow shows the exchange alone (same bytes, no boundary wait, no dump, no
// load). The machine's other work moves every figure; compare the ratios of one run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <numeric>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "gateway/gateway_statement.h"
#include "gateway/http_poster.h"
#include "gateway/multipart_request.h"
#include "gateway_process.h"
#include "headoffice_products.h"
#include "temp_folder.h"
#include "test_authority.h"
#include "text/dialogs.h"
#include "text/errors.h"

namespace {

constexpr int kProducts = 20000;
const std::string kOneRow = "SELECT CUST_ID, CUST_NAME FROM CUSTOMER WHERE CUST_ID = 'S001' ";
const std::string kAllProducts = "SELECT * FROM PRODUCT A ";

class SilentDialogs : public qor::Dialogs {
public:
    void showMessage(const std::string& text) override { last = text; }
    void showWarning(const std::string& text) override { last = text; }
    std::string last;
};

// A gateway for the whole run, with its client settings: plain HTTP, or HTTPS with a
// certificate for 127.0.0.1 from an authority made for the run.
struct Setup {
    explicit Setup(bool tls) {
        std::vector<std::string> options;
        if (tls) {
            folder = std::make_unique<qor::test::TempFolder>("qor-bench-tls-");
            const qor::test::TestAuthority authority(folder->path().string(), "bench");
            const auto issued = authority.issue("gateway", {"127.0.0.1"});
            caFile = authority.certificate();
            options = {"--tls-cert", issued.certificate, "--tls-key", issued.key};
        }
        gateway = std::make_unique<qor::test::GatewayProcess>(
            qor::bench::headOfficeProducts(kProducts), qor::test::GatewayAccount{}, options);
        gateway->writeHttpSet(gateway->clientDir());
        if (tls) {
            // Section "set" is the file's last.
            std::FILE* f = std::fopen((gateway->clientDir() + "/httpset.ini").c_str(), "ab");
            std::fprintf(f, "tls=1\r\ncafile=%s\r\n", caFile.c_str());
            std::fclose(f);
        }
        client = std::make_unique<qor::gateway::TDataModHttp>(gateway->clientDir(),
                                                               gateway->clientDir(), dialogs);
    }

    std::size_t lastReplySize() const {
        // The dump holds the reply and one CR LF.
        return std::filesystem::file_size(gateway->clientDir() + "/Result.txt") - 2;
    }

    std::string address() const {
        return std::string(caFile.empty() ? "http" : "https") + "://127.0.0.1:" +
               std::to_string(gateway->port()) + "/oVat/ado/index.php?user_name=" +
               gateway->account().userName + "&password=" + gateway->account().password;
    }

    std::unique_ptr<qor::test::TempFolder> folder;  // the authority's files, with TLS
    std::string caFile;                             // empty: plain HTTP
    std::unique_ptr<qor::test::GatewayProcess> gateway;
    SilentDialogs dialogs;
    std::unique_ptr<qor::gateway::TDataModHttp> client;
};

Setup& setup() {
    static Setup instance(false);
    return instance;
}

Setup& tlsSetup() {
    static Setup instance(true);
    return instance;
}

using Ms = std::chrono::duration<double, std::milli>;

// The steps of the last call, in milliseconds.
struct Split {
    double transfer, dump, load;
};
Split lastSplit(const qor::gateway::TDataModHttp& client) {
    const auto& steps = client.lastStepTimes();
    return {Ms(steps.transfer).count(), Ms(steps.dump).count(), Ms(steps.load).count()};
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void BM_OpenRemoteQuery_OneRow(benchmark::State& state) {
    Setup& s = setup();
    qor::ds::Dataset target("CDS_Source");
    Split sum{0, 0, 0};
    try {
        for (auto _ : state) {
            s.client->OpenRemoteQuery(target, kOneRow + "\r\n");
            benchmark::DoNotOptimize(target.recordCount());
            const Split split = lastSplit(*s.client);
            sum = {sum.transfer + split.transfer, sum.dump + split.dump, sum.load + split.load};
        }
    } catch (const std::exception& e) {
        state.SkipWithError((std::string(e.what()) + " " + s.dialogs.last).c_str());
        return;
    }
    state.SetItemsProcessed(state.iterations());
    const double calls = static_cast<double>(state.iterations());
    state.counters["transfer_ms"] = sum.transfer / calls;
    state.counters["dump_ms"] = sum.dump / calls;
    state.counters["load_ms"] = sum.load / calls;
}

void BM_HttpPost_OneRow(benchmark::State& state) {
    Setup& s = setup();
    qor::gateway::HttpPoster poster(std::chrono::milliseconds(300000));
    const std::string boundary = "--------010124120000000";
    const std::string body = qor::gateway::multipartBody(
        boundary, {{"user_name", s.gateway->account().userName},
                   {"password", s.gateway->account().password},
                   {"sql", qor::gateway::gatewayStatement(kOneRow + "\r\n")}});
    try {
        for (auto _ : state) benchmark::DoNotOptimize(poster.post(s.address(), boundary, body));
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    state.SetItemsProcessed(state.iterations());
}

// Runs `transfers` posts of the same form in one curl process; returns the seconds curl
// reports for each. Each transfer has its own connection, as in our client: reusing one the
// gateway is closing would fail some posts with a broken pipe.
std::vector<double> curlPosts(Setup& s, const std::string& statement, int transfers) {
    // The "sql" value exactly as OpenRemoteQuery's form carries it: on one line, then CR LF.
    const std::string value = qor::gateway::gatewayStatement(statement + "\r\n") + "\r\n";
    const std::string form =
        s.gateway->clientDir() + "/sql-" + std::to_string(std::hash<std::string>{}(value)) + ".txt";
    if (!std::filesystem::exists(form)) {
        std::FILE* f = std::fopen(form.c_str(), "wb");
        std::fwrite(value.data(), 1, value.size(), f);
        std::fclose(f);
    }
    std::string command = "curl -sS -0 -H 'Connection: close'"
                          " -w '%{time_total} %{http_code}\\n'"
                          " -F user_name=" + s.gateway->account().userName +
                          " -F password=" + s.gateway->account().password +
                          " -F 'sql=<" + form + "'";
    if (!s.caFile.empty()) command += " --cacert '" + s.caFile + "'";
    // Each address needs its own -o, or the later replies go to the pipe.
    for (int i = 0; i < transfers; ++i) command += " -o /dev/null '" + s.address() + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run curl");
    std::vector<double> seconds;
    double t;
    int code;
    while (std::fscanf(pipe, "%lf %d", &t, &code) == 2)
        if (code == 200) seconds.push_back(t);
    if (int status = ::pclose(pipe); status != 0 || static_cast<int>(seconds.size()) != transfers)
        throw std::runtime_error("curl failed with status " + std::to_string(status));
    return seconds;
}

void BM_Curl_OneRow(benchmark::State& state) {
    constexpr int kTransfers = 50;
    try {
        for (auto _ : state) {
            const std::vector<double> seconds = curlPosts(setup(), kOneRow, kTransfers);
            state.SetIterationTime(std::accumulate(seconds.begin(), seconds.end(), 0.0));
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    state.SetItemsProcessed(state.iterations() * kTransfers);
}

// 20,000 products, our call and curl's transfer taken turn about, so both meet the machine
// in the same state; the figures are medians over the turns.
void oursAndCurl(benchmark::State& state, Setup& s) {
    qor::ds::Dataset target("CDS_Source");
    std::vector<double> ours, theirs, transfer, dump, load;
    try {
        for (auto _ : state) {
            const auto started = std::chrono::steady_clock::now();
            s.client->OpenRemoteQuery(target, kAllProducts + "\r\n");
            const double ms = Ms(std::chrono::steady_clock::now() - started).count();
            state.SetIterationTime(ms / 1000);
            ours.push_back(ms);
            const Split split = lastSplit(*s.client);
            transfer.push_back(split.transfer);
            dump.push_back(split.dump);
            load.push_back(split.load);
            state.PauseTiming();
            // The dataset frees its previous rows on a thread of its own after the call;
            // curl's turn waits for that to end, so it does not run beside it.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            theirs.push_back(curlPosts(s, kAllProducts, 1).front() * 1000);
            state.ResumeTiming();
        }
    } catch (const std::exception& e) {
        state.SkipWithError((std::string(e.what()) + " " + s.dialogs.last).c_str());
        return;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.lastReplySize()));
    state.counters["rows"] = target.recordCount();
    state.counters["ours_ms"] = median(ours);
    state.counters["curl_ms"] = median(theirs);
    state.counters["vs_curl"] = median(theirs) / median(ours);
    state.counters["transfer_ms"] = median(transfer);
    state.counters["dump_ms"] = median(dump);
    state.counters["load_ms"] = median(load);
}

void BM_20000Products_OursAndCurl(benchmark::State& state) { oursAndCurl(state, setup()); }

// The same over TLS, against curl over TLS on the same gateway.
void BM_20000ProductsTls_OursAndCurl(benchmark::State& state) { oursAndCurl(state, tlsSetup()); }

// The client waits on the gateway, so rates count wall-clock time.
BENCHMARK(BM_OpenRemoteQuery_OneRow)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HttpPost_OneRow)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Curl_OneRow)->UseManualTime()->Unit(benchmark::kMillisecond);
// Several turns: the gateway's first large reply on a worker thread is slower than the rest.
BENCHMARK(BM_20000Products_OursAndCurl)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_20000ProductsTls_OursAndCurl)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's rate (the median when runs are repeated) for the ratios at the end.
class RateKeeper : public benchmark::ConsoleReporter {
public:
    RateKeeper() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            for (const char* name : {"items_per_second", "vs_curl"})
                if (run.counters.count(name))
                    rates[run.run_name.function_name + "/" + name] = run.counters.at(name);
        }
    }

    // Our calls per second over curl's transfers per second; 0 when either did not run.
    double ratio(const std::string& ours, const std::string& theirs) const {
        auto a = rates.find(ours + "/items_per_second"), b = rates.find(theirs + "/items_per_second");
        return a == rates.end() || b == rates.end() ? 0 : a->second / b->second;
    }
    double counter(const std::string& benchmark, const std::string& name) const {
        auto a = rates.find(benchmark + "/" + name);
        return a == rates.end() ? 0 : a->second;
    }

    std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RateKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nOpenRemoteQuery against curl (rate over curl's rate; 1.0 or more: as fast or faster)\n"
                "  one row:                  %.2f\n  20,000 products:          %.2f\n"
                "  20,000 products over TLS: %.2f (against curl over TLS; 0.9 or more wanted)\n",
                reporter.ratio("BM_OpenRemoteQuery_OneRow", "BM_Curl_OneRow"),
                reporter.counter("BM_20000Products_OursAndCurl", "vs_curl"),
                reporter.counter("BM_20000ProductsTls_OursAndCurl", "vs_curl"));
    benchmark::Shutdown();
}
