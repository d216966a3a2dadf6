// qor-gateway against stores that misbehave: one that sends its request a byte at a time,
// one whose request is far too long, and replies slowed down on purpose with --delay.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
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
