// Gateway round trips on loopback: OpenRemoteQuery against qor-gateway for a one-row reply
// (round trips per second) and for 20,000 products (MB/s), each beside curl posting the same
// form to the same gateway. Our client's figures include writing the reply dump and loading
// the packet into a dataset; curl's figures are the transfer alone (its own -w timing, so
// starting the curl process is not counted). Every request starts with a new boundary taken
// from the millisecond clock, so on loopback a call that ends within one millisecond waits
// for the next: OpenRemoteQuery stays under 1000 calls a second there. BM_HttpPost_OneRow
// shows the exchange alone (same bytes, no boundary wait, no dump, no load).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "gateway/gateway_statement.h"
#include "gateway/http_poster.h"
#include "gateway/multipart_request.h"
#include "gateway_process.h"
#include "text/cp950.h"
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

std::string headOfficeRows() {
    const std::string name = qor::text::utf8ToCp950("商品資料測試");
    return "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('S001', '" + name +
           "', '1234');\n"
           "SET TERM ^ ;\n"
           "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN\n"
           "  WHILE (i < " + std::to_string(kProducts) + ") DO BEGIN\n"
           "    INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, SALE_PRICE, STD_COST,\n"
           "      PROVIDER_ID, PROVIDER_NAME, UNITNAME, STOCK_QTY, CHG_DATE, SAFE_DAY)\n"
           "    VALUES ('P' || LPAD(:i, 7, '0'), '471' || LPAD(:i, 10, '0'), '" + name +
           "' || :i, 99.5, 60.25, 'F01', '" + name + "', 'PCS', 'N', '2024/01/31', 7);\n"
           "    i = i + 1;\n"
           "  END\n"
           "END^\n"
           "SET TERM ; ^\n";
}

// One gateway for the whole run, with its client settings.
struct Setup {
    qor::test::GatewayProcess gateway{headOfficeRows()};
    SilentDialogs dialogs;
    std::unique_ptr<qor::gateway::TDataModHttp> client;

    Setup() {
        gateway.writeHttpSet(gateway.clientDir());
        client = std::make_unique<qor::gateway::TDataModHttp>(gateway.clientDir(),
                                                               gateway.clientDir(), dialogs);
    }

    std::size_t lastReplySize() const {
        // The dump holds the reply and one CR LF.
        return std::filesystem::file_size(gateway.clientDir() + "/Result.txt") - 2;
    }

    std::string address() const {
        return "http://127.0.0.1:" + std::to_string(gateway.port()) +
               "/oVat/ado/index.php?user_name=" + gateway.account().userName +
               "&password=" + gateway.account().password;
    }
};

Setup& setup() {
    static Setup instance;
    return instance;
}

void openRemote(benchmark::State& state, const std::string& statement) {
    Setup& s = setup();
    qor::ds::Dataset target("CDS_Source");
    try {
        for (auto _ : state) {
            s.client->OpenRemoteQuery(target, statement + "\r\n");
            benchmark::DoNotOptimize(target.recordCount());
        }
    } catch (const std::exception& e) {
        state.SkipWithError((std::string(e.what()) + " " + s.dialogs.last).c_str());
        return;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.lastReplySize()));
    state.counters["rows"] = target.recordCount();
}

void BM_HttpPost_OneRow(benchmark::State& state) {
    Setup& s = setup();
    qor::gateway::HttpPoster poster(std::chrono::milliseconds(300000));
    const std::string boundary = "--------010124120000000";
    const std::string body = qor::gateway::multipartBody(
        boundary, {{"user_name", s.gateway.account().userName},
                   {"password", s.gateway.account().password},
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
// reports for them and the bytes received. Each transfer has its own connection, as in our
// client: reusing one the gateway is closing would fail some posts with a broken pipe.
std::pair<double, double> curlPosts(const std::string& statement, int transfers) {
    Setup& s = setup();
    const std::filesystem::path form = s.gateway.clientDir() + "/sql-field.txt";
    if (!std::filesystem::exists(form)) {
        // The "sql" value exactly as OpenRemoteQuery's form carries it: on one line, then CR LF.
        const std::string value = qor::gateway::gatewayStatement(statement + "\r\n") + "\r\n";
        std::FILE* f = std::fopen(form.c_str(), "wb");
        std::fwrite(value.data(), 1, value.size(), f);
        std::fclose(f);
    }
    std::string command = "curl -sS -0 -H 'Connection: close'"
                          " -w '%{time_total} %{size_download} %{http_code}\\n'"
                          " -F user_name=" + s.gateway.account().userName +
                          " -F password=" + s.gateway.account().password +
                          " -F 'sql=<" + form.string() + "'";
    // Each address needs its own -o, or the later replies go to the pipe.
    for (int i = 0; i < transfers; ++i) command += " -o /dev/null '" + s.address() + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run curl");
    double seconds = 0, bytes = 0, t, b;
    int code, good = 0;
    while (std::fscanf(pipe, "%lf %lf %d", &t, &b, &code) == 3) {
        seconds += t;
        bytes += b;
        good += code == 200;
    }
    if (int status = ::pclose(pipe); status != 0 || good != transfers)
        throw std::runtime_error("curl failed with status " + std::to_string(status));
    return {seconds, bytes};
}

void curl(benchmark::State& state, const std::string& statement, int transfersPerRun) {
    // A different statement needs its own form file.
    std::filesystem::remove(setup().gateway.clientDir() + "/sql-field.txt");
    double totalBytes = 0;
    try {
        for (auto _ : state) {
            auto [seconds, bytes] = curlPosts(statement, transfersPerRun);
            state.SetIterationTime(seconds);
            totalBytes += bytes;
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    state.SetItemsProcessed(state.iterations() * transfersPerRun);
    state.SetBytesProcessed(static_cast<int64_t>(totalBytes));
}

void BM_OpenRemoteQuery_OneRow(benchmark::State& state) { openRemote(state, kOneRow); }
void BM_Curl_OneRow(benchmark::State& state) { curl(state, kOneRow, 50); }
void BM_OpenRemoteQuery_20000Products(benchmark::State& state) { openRemote(state, kAllProducts); }
void BM_Curl_20000Products(benchmark::State& state) { curl(state, kAllProducts, 1); }

// The client waits on the gateway, so rates count wall-clock time.
BENCHMARK(BM_OpenRemoteQuery_OneRow)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HttpPost_OneRow)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Curl_OneRow)->UseManualTime()->Unit(benchmark::kMillisecond);
// Several runs each: the gateway's first large reply on a worker thread is slower than the rest.
BENCHMARK(BM_OpenRemoteQuery_20000Products)->UseRealTime()->Iterations(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Curl_20000Products)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
