// Many stores at once: a hundred store clients, each on its own thread, ask qor-gateway for
// the same long product list at the same moment; every one gets the whole reply, byte for
// byte. (bench/bench_gateway_load runs the same with 20,000 products and measures memory.)
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <latch>
#include <string>
#include <thread>
#include <sstream>
#include <vector>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "gateway_process.h"
#include "headoffice_rows.h"

using namespace qor;
using namespace qor::headoffice::testing;

namespace {

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(GatewayLoad, AHundredStoresAtOnceEachGetTheWholeReply) {
    constexpr int kStores = 100, kProducts = 2000;
    test::GatewayProcess gateway(manyProducts(kProducts));
    gateway.writeHttpSet(gateway.clientDir());
    const std::string statement = "SELECT * FROM PRODUCT ORDER BY PROD_ID ";

    RecordingDialogs firstDialogs;
    gateway::TDataModHttp first(gateway.clientDir(), gateway.folder() + "/first", firstDialogs);
    ds::Dataset firstProducts("CDS_Source");
    first.OpenRemoteQuery(firstProducts, statement + "\r\n");
    const std::string expected = readWholeFile(gateway.folder() + "/first/Result.txt");
    ASSERT_EQ(firstProducts.recordCount(), kProducts);

    std::atomic<int> whole{0};
    std::latch ready(kStores);
    std::vector<std::jthread> stores;
    for (int s = 0; s < kStores; ++s) {
        stores.emplace_back([&, s] {
            const std::string dumpDir = gateway.folder() + "/store" + std::to_string(s);
            RecordingDialogs dialogs;
            gateway::TDataModHttp http(gateway.clientDir(), dumpDir, dialogs, 120000);
            ds::Dataset products("CDS_Source");
            ready.arrive_and_wait();
            try {
                http.OpenRemoteQuery(products, statement + "\r\n");
            } catch (...) {
                return;
            }
            if (products.recordCount() == kProducts &&
                readWholeFile(dumpDir + "/Result.txt") == expected)
                ++whole;
        });
    }
    stores.clear();  // joins
    EXPECT_EQ(whole, kStores);
}
