// The store's gateway client over TLS against qor-gateway --tls-cert, with an authority and
// certificates made for the test: a verified exchange that keeps the account and the rows
// off the wire, and the certificates a store refuses before it sends anything.
#include <gtest/gtest.h>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/read_until.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/asio/streambuf.hpp>
#include <boost/asio/write.hpp>

#include <filesystem>
#include <thread>
#include <fstream>
#include <memory>
#include <vector>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "gateway_process.h"
#include "gateway_test_support.h"
#include "recording_relay.h"
#include "test_authority.h"
#include "text/cp950.h"
#include "canned_http_server.h"
#include "text/errors.h"
#include "workflows/sign_in.h"

namespace qor::gateway::testing {
namespace {

using qor::test::GatewayProcess;
using qor::test::TestAuthority;

const std::string& storeName() {
    static const std::string name = text::utf8ToCp950("台北南港店");
    return name;
}

std::string headOffice() {
    return "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('S001', '" + storeName() +
           "', '1234');";
}

std::vector<std::string> servedWith(const TestAuthority::Issued& issued) {
    return {"--tls-cert", issued.certificate, "--tls-key", issued.key};
}

// httpset.ini in `dir`: the built-in account at host:port, TLS on or off, `caFile` trusted.
void writeSettings(const std::string& dir, const std::string& host, int port, bool tls,
                   const std::string& caFile) {
    std::ofstream(dir + "/httpset.ini", std::ios::binary | std::ios::trunc)
        << "[set]\r\nhost=" << host << "\r\nport=" << port
        << "\r\nuser_name=SYSDBA\r\npassword=quillbarn\r\ndriver=ado\r\ntls=" << (tls ? 1 : 0)
        << "\r\ncafile=" << caFile << "\r\n";
}

// An HTTPS peer that answers one request with `reply`: what a real gateway never says.
class HttpsStub {
public:
    HttpsStub(const TestAuthority::Issued& issued, std::string reply)
        : context_(boost::asio::ssl::context::tls_server), reply_(std::move(reply)) {
        context_.use_certificate_chain_file(issued.certificate);
        context_.use_private_key_file(issued.key, boost::asio::ssl::context::pem);
        thread_ = std::thread([this] { serveOne(); });
    }
    ~HttpsStub() {
        boost::system::error_code ignored;
        acceptor_.close(ignored);
        thread_.join();
    }
    int port() const { return acceptor_.local_endpoint().port(); }

private:
    void serveOne() {
        boost::system::error_code error;
        tcp::socket socket(io_);
        acceptor_.accept(socket, error);
        if (error) return;
        boost::asio::ssl::stream<tcp::socket&> tls(socket, context_);
        tls.handshake(boost::asio::ssl::stream_base::server, error);
        boost::asio::streambuf request;
        if (!error) boost::asio::read_until(tls, request, "\r\n\r\n", error);  // the body is not read
        if (!error) boost::asio::write(tls, boost::asio::buffer(reply_), error);
        tls.shutdown(error);
    }

    using tcp = boost::asio::ip::tcp;
    boost::asio::io_context io_;
    tcp::acceptor acceptor_{io_, {boost::asio::ip::make_address("127.0.0.1"), 0}};
    boost::asio::ssl::context context_;
    std::string reply_;
    std::thread thread_;
};

class TlsExchange : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<TempFolder>("qor-tls-");
        authority = std::make_unique<TestAuthority>(folder->path().string(), "head-office");
        // Named by its address only: a store that asks for "localhost" meets the wrong name.
        gateway = std::make_unique<GatewayProcess>(
            headOffice(), qor::test::GatewayAccount{},
            servedWith(authority->issue("gateway", {"127.0.0.1"})));
    }
    static void TearDownTestSuite() {
        gateway.reset();
        authority.reset();
        folder.reset();
    }

    // Asks for the sign-in through a module over `dir`'s settings; the message boxes shown.
    static std::vector<std::string> signIn(const std::string& dir, ds::Dataset& target,
                                           std::string* queryUrl = nullptr) {
        RecordingDialogs dialogs;
        TDataModHttp module(dir, dir, dialogs, 30000);
        if (queryUrl) *queryUrl = module.QueryUrl();
        try {
            module.OpenRemoteQuery(target, workflows::signInStatement("S001", "1234"));
        } catch (const SilentAbort&) {
        }
        return dialogs.messages();
    }

    static inline std::unique_ptr<TempFolder> folder;
    static inline std::unique_ptr<TestAuthority> authority;
    static inline std::unique_ptr<GatewayProcess> gateway;
};

TEST_F(TlsExchange, AVerifiedExchangeKeepsTheAccountAndTheRowsOffTheWire) {
    RecordingRelay relay(gateway->port());
    TempFolder client("qor-tls-store-");
    const std::string dir = client.path().string();
    writeSettings(dir, "127.0.0.1", relay.port(), true, authority->certificate());
    ds::Dataset cust("CDS_Cust");
    std::string queryUrl;
    EXPECT_TRUE(signIn(dir, cust, &queryUrl).empty());
    EXPECT_EQ(queryUrl, "https://127.0.0.1:" + std::to_string(relay.port()) + "/oVat/ado/index.php");
    ASSERT_TRUE(cust.active());
    ASSERT_EQ(cust.recordCount(), 1);
    EXPECT_EQ(cust.field(1).asString(), storeName());

    const std::string seen = relay.bytes();
    EXPECT_GT(seen.size(), 500u);
    for (const std::string& plain : {std::string("quillbarn"), std::string("SYSDBA"),
                                     std::string("oVat"), std::string("CUSTOMER"),
                                     std::string("PASS_WD"), storeName()})
        EXPECT_EQ(seen.find(plain), std::string::npos) << plain;

    // The same store without TLS: the account goes out in the clear, and the gateway's TLS
    // port answers a plain request with 400 and runs nothing.
    writeSettings(dir, "127.0.0.1", relay.port(), false, "");
    ds::Dataset again("CDS_Cust");
    const std::vector<std::string> boxes = signIn(dir, again, &queryUrl);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], queryUrl + text::utf8ToCp950("錯誤的連線: ") + "HTTP/1.1 400 Bad Request");
    EXPECT_NE(relay.bytes().find("password=quillbarn"), std::string::npos);
    EXPECT_FALSE(again.active());
}

TEST_F(TlsExchange, ACertificateThatDoesNotVerifyEndsTheCallBeforeAnythingIsSent) {
    const TestAuthority elsewhere(folder->path().string(), "elsewhere");
    GatewayProcess expired(headOffice(), qor::test::GatewayAccount{},
                           servedWith(authority->issue("expired", {"127.0.0.1"}, -1)));
    const std::string missing = folder->file("missing.pem");
    struct Case {
        const char* what;
        GatewayProcess& gateway;
        std::string host, caFile, failure;
    };
    const std::vector<Case> cases = {
        {"another authority's", *gateway, "127.0.0.1", elsewhere.certificate(),
         "certificate verify failed (unable to get local issuer certificate)"},
        {"another name", *gateway, "localhost", authority->certificate(),
         "certificate verify failed (hostname mismatch)"},
        {"expired", expired, "127.0.0.1", authority->certificate(),
         "certificate verify failed (certificate has expired)"},
        {"no CA file", *gateway, "127.0.0.1", missing, "Cannot read the CA file " + missing + "."},
    };
    for (const Case& c : cases) {
        TempFolder client("qor-tls-store-");
        const std::string dir = client.path().string();
        writeSettings(dir, c.host, c.gateway.port(), true, c.caFile);
        const std::string logBefore = c.gateway.log();
        ds::Dataset cust("CDS_Cust");
        std::string queryUrl;
        const std::vector<std::string> boxes = signIn(dir, cust, &queryUrl);
        ASSERT_EQ(boxes.size(), 1u) << c.what;
        EXPECT_EQ(boxes[0], queryUrl + text::utf8ToCp950("錯誤的連線: ") + c.failure) << c.what;
        EXPECT_FALSE(cust.active()) << c.what;
        // No request reached the gateway: it logs every one it answers.
        EXPECT_EQ(c.gateway.log().find(" 200 ", logBefore.size()), std::string::npos) << c.what;
        EXPECT_FALSE(std::filesystem::exists(dir + "/Result.txt")) << c.what;
    }
}

// The account rides in every request: a redirect out of TLS is not followed.
TEST_F(TlsExchange, ARedirectFromHttpsToHttpIsRefused) {
    qor::test::CannedHttpServer plain(qor::test::CannedHttpServer::okReply(""));
    const std::string location = "http://127.0.0.1:" + std::to_string(plain.port()) + "/oVat/ado/index.php";
    HttpsStub stub(authority->issue("stub", {"127.0.0.1"}),
                   "HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nContent-Length: 0\r\n\r\n");
    TempFolder client("qor-tls-store-");
    const std::string dir = client.path().string();
    writeSettings(dir, "127.0.0.1", stub.port(), true, authority->certificate());
    ds::Dataset cust("CDS_Cust");
    std::string queryUrl;
    const std::vector<std::string> boxes = signIn(dir, cust, &queryUrl);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], queryUrl + text::utf8ToCp950("錯誤的連線: ") +
                            "Redirect from https to http refused: " + location);
    EXPECT_EQ(plain.requests(), 0);
}

}  // namespace
}  // namespace qor::gateway::testing
