// qor-gateway against stores that misbehave: one that sends its request a byte at a time,
// requests past each limit, too many connections at once, and replies slowed down on
// purpose with --delay.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dataset/dataset.h"
#include "dataset/packet.h"
#include "gateway/FrmDataModHttp.h"
#include "gateway_process.h"
#include "headoffice_rows.h"
#include "raw_http_client.h"
#include "text/cp950.h"
#include "text/errors.h"

using namespace qor;
using namespace qor::headoffice::testing;

class GatewayLimits : public ::testing::Test {
protected:
    // One worker, so a store that holds it holds the whole gateway.
    static void SetUpTestSuite() {
        gateway = new test::GatewayProcess(
            headOfficeRows(), {},
            {"--threads", "1", "--read-timeout", "1", "--max-request", "4096", "--delay", "200"});
        gateway->writeHttpSet(gateway->clientDir());
    }
    static void TearDownTestSuite() {
        delete gateway;
        gateway = nullptr;
    }

    void signIn() { http.OpenRemoteQuery(target, signInStatement("LOGINID", "1234")); }

    static test::GatewayProcess* gateway;
    RecordingDialogs dialogs;
    // Far longer than the read time limit, far shorter than a store held for good.
    gateway::TDataModHttp http{gateway->clientDir(), gateway->clientDir(), dialogs, 20000};
    ds::Dataset target{"ClientDataSet1"};
};

test::GatewayProcess* GatewayLimits::gateway = nullptr;

TEST_F(GatewayLimits, AStoreSendingAByteAtATimeIsDroppedAndTheNextIsServed) {
    std::atomic<bool> started{false}, dropped{false};
    std::jthread slow([&] {
        RawHttpClient client(gateway->port());
        const std::string request = storeRequest(signInStatement("LOGINID", "1234"));
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        for (std::size_t i = 0; std::chrono::steady_clock::now() < giveUp; ++i) {
            if (!client.send(request.substr(i % request.size(), 1))) break;
            started = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        client.readToClose(std::chrono::seconds(1));
        dropped = client.closedByPeer();
    });
    while (!started) std::this_thread::sleep_for(std::chrono::milliseconds(10));

    EXPECT_NO_THROW(signIn());
    EXPECT_EQ(target.recordCount(), 1);
    EXPECT_TRUE(dialogs.boxes.empty());
    slow.join();
    EXPECT_TRUE(dropped);
}

TEST_F(GatewayLimits, AnOversizedRequestIsRefusedUnread) {
    RawHttpClient announced(gateway->port());
    announced.send("POST /oVat/ado/index.php HTTP/1.0\r\nContent-Length: 100000000\r\n"
                   "Content-Type: multipart/form-data; boundary=x\r\n\r\n");
    EXPECT_TRUE(announced.readToClose().starts_with("HTTP/1.1 413 "));

    // The store's own client with a statement far over the limit: a transport failure.
    signIn();
    const std::string huge = "SELECT CUST_ID FROM CUSTOMER WHERE CUST_ID IN ('" +
                             std::string(8000, 'X') + "')\r\n";
    EXPECT_THROW(http.OpenRemoteQuery(target, huge), SilentAbort);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].starts_with(http.QueryUrl() + text::utf8ToCp950("錯誤的連線: ")));
    EXPECT_EQ(target.recordCount(), 1);

    signIn();  // and the gateway goes on serving
    EXPECT_EQ(target.recordCount(), 1);
}

TEST_F(GatewayLimits, ADelayedReplyArrivesInPiecesWithTheSameBytes) {
    RawHttpClient client(gateway->port());
    client.send(storeRequest(supplierStatement()));
    std::vector<std::size_t> pieces;
    const std::string reply = client.readToClose(std::chrono::seconds(30), &pieces);
    EXPECT_GT(pieces.size(), 2u);
    const std::string body = afterHead(reply);
    EXPECT_NE(reply.find("\r\nContent-Length: " + std::to_string(body.size()) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(ds::writePacket(ds::readPacket(body)), body);

    http.OpenRemoteQuery(target, supplierStatement());
    EXPECT_EQ(target.recordCount(), 3);
}

// Each limit's refusal as --help and the README give it; the connection is closed after it.
TEST_F(GatewayLimits, ARequestPastALimitIsRefusedAsDocumented) {
    struct Case {
        const char* limit;
        std::string request;
        std::string reply;  // how the reply begins; empty: closed unanswered
    };
    const std::string chunkedBody = "1388\r\n" + std::string(5000, 'x') + "\r\n0\r\n\r\n";
    const Case cases[] = {
        {"body, sent chunked", "POST /oVat/ado/index.php HTTP/1.1\r\nHost: x\r\n"
                               "Transfer-Encoding: chunked\r\n\r\n" + chunkedBody,
         "HTTP/1.1 413 Payload Too Large\r\n"},
        {"request line and headers", "POST /oVat/ado/index.php HTTP/1.0\r\nX-Filler: " +
                                         std::string(70000, 'a') + "\r\n\r\n",
         "HTTP/1.1 431 Request Header Fields Too Large\r\n"},
        {"request target", "GET /" + std::string(9000, 'a') + " HTTP/1.0\r\n\r\n",
         "HTTP/1.1 414 URI Too Long\r\n"},
        {"time to send the request", "POST /oVat/ado/index.php?user_na", ""},
    };
    for (const Case& c : cases) {
        RawHttpClient client(gateway->port());
        ASSERT_TRUE(client.send(c.request)) << c.limit;
        const std::string reply = client.readToClose(std::chrono::seconds(20));
        EXPECT_TRUE(client.closedByPeer()) << c.limit;
        if (c.reply.empty()) EXPECT_EQ(reply, "") << c.limit;
        else EXPECT_TRUE(reply.starts_with(c.reply)) << c.limit << ": " << reply.substr(0, 80);
    }
    signIn();  // none of them held the one worker
    EXPECT_EQ(target.recordCount(), 1);
}

TEST(GatewayConnectionLimit, OneConnectionPastTheLimitGets503AndClosesWithoutAWorker) {
    test::GatewayProcess gateway(headOfficeRows(), {}, {"--max-connections", "2"});
    gateway.writeHttpSet(gateway.clientDir());
    auto held = std::make_unique<RawHttpClient>(gateway.port());
    auto held2 = std::make_unique<RawHttpClient>(gateway.port());
    held->send("POST /oVat/ado/index.php?user_na");
    held2->send("POST /oVat/ado/index.php?user_na");

    // The gateway counts a connection once it has accepted it: ask until the third is refused.
    std::string refused;
    for (int tries = 0; tries < 100 && refused.empty(); ++tries) {
        RawHttpClient third(gateway.port());
        third.send(storeRequest(signInStatement("LOGINID", "1234")));
        const std::string reply = third.readToClose(std::chrono::seconds(10));
        if (reply.starts_with("HTTP/1.1 503 ")) refused = reply;
        else std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(refused, "HTTP/1.1 503 Service Unavailable\r\nConnection: close\r\n"
                       "Content-Length: 0\r\n\r\n");

    // Once they are gone, a store is served; a store refused meanwhile may come again.
    held.reset();
    held2.reset();
    RecordingDialogs dialogs;
    gateway::TDataModHttp http(gateway.clientDir(), gateway.clientDir(), dialogs, 20000);
    ds::Dataset reply("ClientDataSet1");
    for (int tries = 0; tries < 100 && !reply.active(); ++tries) {
        try {
            http.OpenRemoteQuery(reply, signInStatement("LOGINID", "1234"));
        } catch (const SilentAbort&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    EXPECT_EQ(reply.recordCount(), 1);
    EXPECT_EQ(gateway.stop(), 0);
    EXPECT_NE(gateway.log().find(" 503 rows=- "), std::string::npos) << gateway.log();
}
