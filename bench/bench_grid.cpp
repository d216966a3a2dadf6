// Opening the product record (96 fields) with 100 and with 20,000 rows under a grid, and
// painting it offscreen. The grid reads only the rows it shows, so what it adds to the
// dataset's own open (measured alone beside it) should not grow with the rows.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <string>

#include "dataset/dataset.h"
#include "dataset/datasource.h"
#include "storedb/product_record.h"
#include "text/cp950.h"
#include "window/dbcontrols/DBGrid.h"
#include "window/window_dialogs.h"
#include "window_bench.h"

namespace {

using namespace qor;

using bench::SilentDialogs;

// `rows` products with every field filled: codes, Chinese names, prices, shelf numbers.
ds::Table productRows(ds::Dataset& record, int rows) {
    ds::Table t;
    for (int i = 0; i < record.fieldCount(); ++i) {
        const ds::Field& f = record.field(i);
        t.columns.push_back({f.fieldName(), f.kind(), f.size()});
    }
    const std::string name = text::utf8ToCp950("統一麥香紅茶");
    for (int r = 0; r < rows; ++r) {
        ds::Row row;
        row.reserve(t.columns.size());
        for (const ds::ColumnDef& c : t.columns) {
            if (c.kind == ds::FieldKind::Float)
                row.emplace_back(r * 1.25);
            else if (c.kind == ds::FieldKind::Integer)
                row.emplace_back(std::int64_t(r % 7));
            else if (c.name == "PUT_ID")
                row.emplace_back(std::string("12345"));
            else
                row.emplace_back(c.size >= 12 ? name : std::to_string(r).substr(0, std::size_t(c.size)));
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

void BM_OpenAndPaintProductGrid(benchmark::State& state) {
    SilentDialogs dialogs;
    ds::Dataset products("CDS_PRODUCT");
    storedb::declareProductFields(products);
    ds::DataSource source("DS_PRODUCT", &products);
    window::TDBGrid grid(dialogs);
    grid.setDataSource(&source);
    grid.resize(780, 300);
    grid.show();
    const ds::Table rows = productRows(products, int(state.range(0)));
    ds::Table copy;

    for (auto _ : state) {
        state.PauseTiming();
        products.close();
        copy = rows;
        state.ResumeTiming();
        products.openWith(std::move(copy));
        benchmark::DoNotOptimize(grid.grab());
    }
    state.counters["rows"] = double(grid.model()->rowCount());
}

// The same open with no grid watching: what the grid adds is the difference.
void BM_OpenProductDatasetAlone(benchmark::State& state) {
    ds::Dataset products("CDS_PRODUCT");
    storedb::declareProductFields(products);
    const ds::Table rows = productRows(products, int(state.range(0)));
    ds::Table copy;

    for (auto _ : state) {
        state.PauseTiming();
        products.close();
        copy = rows;
        state.ResumeTiming();
        products.openWith(std::move(copy));
    }
}

}  // namespace

BENCHMARK(BM_OpenAndPaintProductGrid)->Arg(100)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProductDatasetAlone)->Arg(100)->Arg(20000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::runWindowBenchmarks(argc, argv, {});
}
