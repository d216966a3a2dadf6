// qor-storesim: many stores' morning against a head office's gateway, played with the
// program's own gateway client; every reply checked against the head office's rows.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "expected_replies.h"
#include "head_office_database.h"
#include "open_file_limit.h"
#include "step_figures.h"
#include "store_morning.h"
#include "store_statements.h"
#include "storedb/definition_paths.h"
#include "storesim_options.h"

namespace fs = std::filesystem;
using namespace qor::storesim;

namespace {

// The peak resident memory of a process in megabytes (VmHWM); 0 when it cannot be read.
double peakMegabytes(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return 0;
}

fs::path makeWorkDir(const std::string& asked) {
    if (!asked.empty()) {
        fs::create_directories(asked);
        return asked;
    }
    std::string pattern = (fs::temp_directory_path() / "qor-storesim.XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder under /tmp");
    return pattern;
}

void writeHttpSet(const fs::path& dir, const StoresimOptions& options) {
    std::ofstream out(dir / "httpset.ini", std::ios::binary | std::ios::trunc);
    out << "[set]\r\nhost=" << options.host << "\r\nport=" << options.port
        << "\r\nuser_name=" << options.user << "\r\npassword=" << options.password
        << "\r\ndriver=" << options.driver << "\r\n";
    if (!out) throw std::runtime_error("cannot write " + (dir / "httpset.ini").string());
}

// Reads every reply's rows before the clock starts, so the morning's time is the gateway's.
void readExpected(ExpectedReplies& expected, const std::vector<StoreAccount>& stores,
                  std::size_t played, int days) {
    expected.packetFor(changedProductsStatement(days));
    for (const std::string& id : expected.masterIds(promotionListStatement()))
        expected.packetFor(promotionItemsStatement(id));
    expected.packetFor(supplierStatement());
    for (std::size_t i = 0; i < std::min(played, stores.size()); ++i)
        expected.packetFor(signInStatement(stores[i].code, stores[i].password));
}

}  // namespace

int main(int argc, char** argv) {
    StoresimOptions options;
    try {
        options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "qor-storesim: " << e.what() << "\n" << usageText();
        return 2;
    }
    if (options.help) {
        std::cout << usageText();
        return 0;
    }

    MorningFigures total;
    double seconds = 0;
    try {
        // Each store at once holds a connection to the gateway.
        qor::headoffice::raiseOpenFileLimit(static_cast<std::size_t>(options.atOnce) * 2 + 256);
        qor::headoffice::HeadOfficeDatabase database(
            {options.database, options.dbUser, options.dbPassword,
             qor::storedb::currentExecutableDir()});
        ExpectedReplies expected(database);
        const std::vector<StoreAccount> stores = expected.stores();
        if (stores.empty()) throw std::runtime_error("the head office has no store to sign in");
        readExpected(expected, stores, static_cast<std::size_t>(options.stores), options.days);

        const fs::path work = makeWorkDir(options.workDir);
        writeHttpSet(work, options);
        MorningSettings settings{work.string(), options.days, options.timeoutMs};
        std::vector<std::unique_ptr<StoreLane>> lanes;
        for (int i = 0; i < options.atOnce; ++i) {
            const fs::path dump = work / ("lane" + std::to_string(i));
            fs::create_directories(dump);
            lanes.push_back(std::make_unique<StoreLane>(settings, dump.string(), expected));
        }

        std::atomic<int> next{0};
        const auto started = std::chrono::steady_clock::now();
        {
            std::vector<std::jthread> threads;
            for (auto& lane : lanes)
                threads.emplace_back([&, lane = lane.get()] {
                    for (int s; (s = next++) < options.stores;)
                        lane->playMorning(stores[static_cast<std::size_t>(s) % stores.size()]);
                });
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        for (auto& lane : lanes)
            for (Step step : kSteps)
                total[std::size_t(step)].add(lane->figures()[std::size_t(step)]);
        if (options.workDir.empty()) fs::remove_all(work);
    } catch (const std::exception& e) {
        std::cerr << "qor-storesim: " << e.what() << "\n";
        return 2;
    }

    std::size_t failures = 0;
    for (const StepFigures& f : total) failures += f.failures;
    std::printf("%d stores, %d at a time\n", options.stores, options.atOnce);
    printTable(std::cout, total);
    std::printf("wall time %.1f s, %.1f stores/s, %zu failures\n", seconds,
                seconds > 0 ? options.stores / seconds : 0.0, failures);
    for (int pid : options.watchPids)
        std::printf("gateway %d peak memory %.1f MB\n", pid, peakMegabytes(pid));
    for (Step step : kSteps)
        for (const std::string& fault : total[std::size_t(step)].faults)
            std::printf("failed %s: %s\n", stepName(step), fault.c_str());
    return failures == 0 ? 0 : 1;
}
