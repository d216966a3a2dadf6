// qor-gateway --reply-cache-seconds: stores asking the same statement together get the first
// answer's bytes, chunked reply included, and the statement runs once; the log marks the
// replies taken from the cache.
#include <gtest/gtest.h>

#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "dataset/packet.h"
#include "gateway_process.h"
#include "headoffice_rows.h"
#include "raw_http_client.h"

using namespace qor;
using namespace qor::headoffice::testing;

namespace {

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(GatewayReplyCache, StoresAskingTheSameStatementTogetherGetOneAnswersBytes) {
    constexpr int kStores = 10;
    test::GatewayProcess gateway(manyProducts(1000), {}, {"--reply-cache-seconds", "60"});
    const std::string request = storeRequest("SELECT * FROM PRODUCT ORDER BY PROD_ID \r\n");

    std::vector<std::string> replies(kStores);
    std::latch ready(kStores);
    {
        std::vector<std::jthread> stores;
        for (int s = 0; s < kStores; ++s)
            stores.emplace_back([&, s] {
                RawHttpClient client(gateway.port());
                ready.arrive_and_wait();
                client.send(request);
                replies[std::size_t(s)] = client.readToClose();
            });
    }
    ASSERT_TRUE(replies[0].find("Transfer-Encoding: chunked\r\n") != std::string::npos);
    ASSERT_TRUE(replies[0].ends_with("0\r\n\r\n"));
    for (const std::string& reply : replies) EXPECT_EQ(reply, replies[0]);

    // Another statement is not answered from the cache; an error reply is never kept.
    RawHttpClient other(gateway.port());
    other.send(storeRequest("SELECT FIRST 5 * FROM PRODUCT ORDER BY PROD_ID \r\n"));
    EXPECT_EQ(ds::readPacket(afterHead(other.readToClose())).rows.size(), 5u);
    for (int i = 0; i < 2; ++i) {
        RawHttpClient failing(gateway.port());
        failing.send(storeRequest("SELECT NO_SUCH_COLUMN FROM PRODUCT \r\n"));
        EXPECT_NE(failing.readToClose().find("<RESULT>"), std::string::npos);
    }

    EXPECT_EQ(gateway.stop(), 0);
    const std::string log = gateway.log();
    EXPECT_EQ(count(log, " 200 rows=1000 "), std::size_t(kStores)) << log;
    EXPECT_EQ(count(log, "ms cached\n"), std::size_t(kStores - 1)) << log;
    EXPECT_EQ(count(log, "<RESULT>"), 2u) << log;
}
