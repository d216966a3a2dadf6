// Point look-ups in a store of 100,000 products: the reconciliation's look-up through
// SQLQuery1 (statement rebuilt with the barcode as a literal, opened, tested for a row) beside
// one prepared statement reused with a parameter, the floor of what the database can answer.
// Both rates are wall-clock: the embedded engine works on threads of its own.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "storedb/connection.h"
#include "storedb/definition_paths.h"
#include "storedb/query.h"
#include "temp_database.h"

namespace {

using namespace qor;

constexpr int kProducts = 100000;

std::string productId(int i) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "P%06d", i);
    return buf;
}

std::string barcode(int i) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "471%010d", i * 7);
    return buf;
}

// A store database of kProducts products in a temporary folder, made once per run.
class StoreOfProducts {
public:
    StoreOfProducts() : paths_(QOR_BIN_DIR) {  // the plugin lies beside the programs
        test::writeDbxFiles(database_.folder(), database_.path());
        test::useDbxFilesIn(paths_, database_.folder());
        connection_ = std::make_unique<storedb::SqlConnection>("SQLConnection1", paths_);
        fill();
    }

    storedb::SqlConnection& connection() { return *connection_; }

private:
    void fill() {
        const storedb::TransactionDesc desc{.transactionId = 1};
        connection_->startTransaction(desc);
        dbx::Connection& db = connection_->attachment();
        const std::string insert =
            "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE) "
            "VALUES (?, ?, ?, ?, ?)";
        for (int i = 0; i < kProducts; ++i)
            db.execute(insert, {productId(i), barcode(i), std::string("Product"), double(i % 500),
                                double(i % 450)});
        connection_->commit(desc);
    }

    test::TempDatabase database_;  // POSDATA.FDB from the store schema
    storedb::FixedDefinitionPaths paths_;
    std::unique_ptr<storedb::SqlConnection> connection_;
};

StoreOfProducts& store() {
    static StoreOfProducts instance;
    return instance;
}

// Every 16th barcode is one the store lacks, as in a download of new products.
std::string barcodeFor(std::int64_t n) {
    const int i = static_cast<int>((n * 7919) % kProducts);
    return n % 16 == 0 ? "999" + barcode(i) : barcode(i);
}

void BM_LookupThroughSQLQuery1(benchmark::State& state) {
    storedb::SqlQuery query("SQLQuery1", store().connection());
    std::int64_t n = 0, found = 0;
    for (auto _ : state) {
        const std::string b = barcodeFor(n++);
        query.close();
        query.clearSql();
        query.addLine("SELECT PROD_ID,PROD_BARCODE FROM PRODUCT ");
        query.addLine(" WHERE PROD_BARCODE = '" + b + "'");
        query.addLine(" OR PROD_ID = '" + b + "'");
        query.addLine(" OR PROD_BARCODE = '" + b + "'");
        query.open();
        if (!query.isEmpty()) ++found;
    }
    query.close();
    state.SetItemsProcessed(state.iterations());
    state.counters["found"] = benchmark::Counter(double(found) / double(std::max<std::int64_t>(n, 1)));
}
BENCHMARK(BM_LookupThroughSQLQuery1)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_LookupPreparedWithParameter(benchmark::State& state) {
    dbx::Connection& db = store().connection().attachment();
    const std::string sql =
        "SELECT PROD_ID,PROD_BARCODE FROM PRODUCT WHERE PROD_BARCODE = ? OR PROD_ID = ? OR PROD_BARCODE = ?";
    std::int64_t n = 0, found = 0;
    ds::Row row;
    for (auto _ : state) {
        const std::string b = barcodeFor(n++);
        auto cursor = db.query(sql, {b, b, b});
        if (cursor->fetch(row)) ++found;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["found"] = benchmark::Counter(double(found) / double(std::max<std::int64_t>(n, 1)));
}
BENCHMARK(BM_LookupPreparedWithParameter)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Prints what the console shows, then the two rates side by side and their ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            auto it = run.counters.find("items_per_second");
            if (it != run.counters.end()) rates_[run.run_name.function_name] = it->second.value;
        }
    }

    void printRatio() const {
        auto literal = rates_.find("BM_LookupThroughSQLQuery1");
        auto prepared = rates_.find("BM_LookupPreparedWithParameter");
        if (literal == rates_.end() || prepared == rates_.end() || literal->second <= 0) return;
        std::printf("\nlook-ups per second: SQLQuery1 %.0f, prepared with a parameter %.0f; "
                    "the prepared statement is %.2f times as fast\n",
                    literal->second, prepared->second, prepared->second / literal->second);
    }

private:
    std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    try {
        store();  // made before the clock starts
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio();
    benchmark::Shutdown();
    return 0;
}
