// The head office's gateway under many stores: a hundred clients on threads, released at the
// same moment, each posting the product download to one qor-gateway on loopback (the store
// client's own HTTP exchange, no dataset load), for 2,000 and for 20,000 products. Every
// reply must be the whole packet, byte for byte the one a single client got first. Shown per
// size: requests, failures, the wall time, and the gateway's peak memory (VmHWM of its
// process) after the single request and after the hundred. Peak memory should not grow with
// the reply's size. The second argument is the gateway's --reply-cache-seconds: with it, the
// hundred identical statements run once. To measure another build of the gateway, name it in
// the environment variable QOR_GATEWAY_PROGRAM (one without the reply cache: the first two
// runs only).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "gateway/gateway_statement.h"
#include "gateway/http_poster.h"
#include "gateway/multipart_request.h"
#include "gateway_process.h"
#include "headoffice_products.h"

namespace {

constexpr int kClients = 100;
const std::string kAllProducts = "SELECT * FROM PRODUCT A ORDER BY PROD_ID \r\n";

// The peak resident memory of a process, in megabytes; 0 when it cannot be read.
double peakMegabytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return 0;
}

// One store's request: the form the store client posts.
struct StoreRequest {
    std::string address, boundary, body;

    explicit StoreRequest(const qor::test::GatewayProcess& gateway) {
        const auto& account = gateway.account();
        address = "http://127.0.0.1:" + std::to_string(gateway.port()) +
                  "/oVat/ado/index.php?user_name=" + account.userName +
                  "&password=" + account.password;
        boundary = "--------010124120000000";
        body = qor::gateway::multipartBody(
            boundary, {{"user_name", account.userName},
                       {"password", account.password},
                       {"sql", qor::gateway::gatewayStatement(kAllProducts)}});
    }

    std::string post() const {
        qor::gateway::HttpPoster poster(std::chrono::milliseconds(300000));
        return poster.post(address, boundary, body);
    }
};

void BM_HundredStores(benchmark::State& state) {
    const int products = static_cast<int>(state.range(0));
    const int cacheSeconds = static_cast<int>(state.range(1));
    std::vector<std::string> options;
    if (cacheSeconds > 0) options = {"--reply-cache-seconds", std::to_string(cacheSeconds)};
    qor::test::GatewayProcess gateway(qor::bench::headOfficeProducts(products), {}, options);
    const StoreRequest request(gateway);
    const std::string expected = request.post();
    const double oneClient = peakMegabytes(gateway.pid());

    std::atomic<int> failures{0};
    for (auto _ : state) {
        std::latch ready(kClients);
        std::vector<std::jthread> clients;
        const auto started = std::chrono::steady_clock::now();
        for (int c = 0; c < kClients; ++c) {
            clients.emplace_back([&] {
                ready.arrive_and_wait();
                try {
                    if (request.post() != expected) ++failures;
                } catch (const std::exception&) {
                    ++failures;
                }
            });
        }
        clients.clear();  // joins
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    }
    state.counters["requests"] = static_cast<double>(state.iterations() * kClients);
    state.counters["failures"] = failures.load();
    state.counters["reply_MB"] = static_cast<double>(expected.size()) / (1024 * 1024);
    state.counters["peak_MB_1"] = oneClient;
    state.counters["peak_MB_100"] = peakMegabytes(gateway.pid());
}

BENCHMARK(BM_HundredStores)
    ->Args({2000, 0})
    ->Args({20000, 0})
    ->Args({20000, 60})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
