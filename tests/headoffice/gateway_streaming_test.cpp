// Long replies: qor-gateway sends them chunked while it reads the rows, the bytes those of
// the whole packet; a read that fails midway cuts the reply off so no store takes half the
// rows for the whole result.
#include <gtest/gtest.h>
#include <httplib.h>

#include <string>

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

namespace {

constexpr int kProducts = 1000;  // several pieces of rows
const std::string kAllProducts = "SELECT * FROM PRODUCT ORDER BY PROD_ID ";

// Fails when reading the row of P0000<failAt>, after the rows before it have been read.
std::string failingAt(int failAt) {
    return "SELECT PROD_ID, 1 / (CAST(SUBSTRING(PROD_ID FROM 2) AS INTEGER) - " +
           std::to_string(failAt) + ") AS X FROM PRODUCT ORDER BY PROD_ID ";
}

}  // namespace

class GatewayStreaming : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gateway = new test::GatewayProcess(manyProducts(kProducts));
        gateway->writeHttpSet(gateway->clientDir());
    }
    static void TearDownTestSuite() {
        delete gateway;
        gateway = nullptr;
    }

    static std::string ask(const std::string& sql) {
        RawHttpClient client(gateway->port());
        client.send(storeRequest(sql + "\r\n"));
        return client.readToClose();
    }

    static test::GatewayProcess* gateway;
    RecordingDialogs dialogs;
    gateway::TDataModHttp http{gateway->clientDir(), gateway->clientDir(), dialogs, 60000};
    ds::Dataset target{"CDS_Source"};
};

test::GatewayProcess* GatewayStreaming::gateway = nullptr;

TEST_F(GatewayStreaming, ALongResultGoesOutChunkedAsTheBytesOfTheWholePacket) {
    httplib::Client client(gateway->host(), gateway->port());
    auto reply = client.Post("/oVat/ado/index.php?user_name=SYSDBA&password=quillbarn",
                             httplib::MultipartFormDataItems{{"user_name", "SYSDBA", "", ""},
                                                             {"password", "quillbarn", "", ""},
                                                             {"sql", kAllProducts, "", ""}});
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->get_header_value("Transfer-Encoding"), "chunked");
    const std::string& body = reply->body;
    const ds::Table table = ds::readPacket(body);
    ASSERT_EQ(table.rows.size(), static_cast<std::size_t>(kProducts));
    // Written again whole, the rows give the same bytes.
    EXPECT_EQ(ds::writePacket(table), body);
    EXPECT_EQ(std::get<std::string>(table.rows[999][0]), "P0000999");

    // A short result still goes whole, with its length.
    const std::string shortReply = ask("SELECT FIRST 10 * FROM PRODUCT ORDER BY PROD_ID ");
    EXPECT_NE(shortReply.find("\r\nContent-Length: "), std::string::npos);
    EXPECT_EQ(ds::readPacket(afterHead(shortReply)).rows.size(), 10u);

    // The store's client reads the chunks into the same packet.
    http.OpenRemoteQuery(target, kAllProducts + "\r\n");
    EXPECT_EQ(target.recordCount(), kProducts);
    target.first();
    EXPECT_EQ(target.fieldByName("PROD_NAME").asString(), text::utf8ToCp950("商品&<測試>") + "0");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(GatewayStreaming, AReadFailingMidwayCutsTheReplyOffAndTheStoreKeepsItsRows) {
    http.OpenRemoteQuery(target, "SELECT FIRST 3 PROD_ID FROM PRODUCT \r\n");
    ASSERT_EQ(target.recordCount(), 3);

    // Neither the chunked framing nor the packet is finished.
    const std::string raw = ask(failingAt(700));
    EXPECT_NE(raw.find("<ROW "), std::string::npos);
    EXPECT_FALSE(raw.ends_with("0\r\n\r\n"));
    EXPECT_EQ(raw.find("</DATAPACKET>"), std::string::npos);

    EXPECT_THROW(http.OpenRemoteQuery(target, failingAt(700) + "\r\n"), SilentAbort);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0],
              http.QueryUrl() + text::utf8ToCp950("錯誤的連線: ") + "Connection closed gracefully.");
    EXPECT_EQ(target.recordCount(), 3);

    // Within the first rows it is still an error reply.
    try {
        http.OpenRemoteQuery(target, failingAt(100) + "\r\n");
        FAIL() << "answered";
    } catch (const Error& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("<RESULT>arithmetic exception")) << e.what();
    }
    EXPECT_EQ(target.recordCount(), 3);

    // The cut-off reply's line is written before its connection closes.
    const std::string log = gateway->log();
    EXPECT_NE(log.find(" cut off: arithmetic exception"), std::string::npos) << log;
}
