// qor-gateway --tls-cert: inside TLS 1.2 and 1.3 the replies are byte for byte those of a
// plain gateway over the same rows, chunked replies included; older versions are refused;
// a plain request on the TLS port gets a plain 400.
#include <openssl/ssl.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "gateway_process.h"
#include "headoffice_rows.h"
#include "raw_http_client.h"
#include "reply_head.h"
#include "temp_folder.h"
#include "test_authority.h"
#include "tls_client.h"

namespace qor::headoffice::testing {
namespace {

class GatewayTls : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<test::TempFolder>("qor-tls-");
        authority = std::make_unique<test::TestAuthority>(folder->path().string(), "head-office");
        const auto issued = authority->issue("gateway", {"127.0.0.1"});
        const std::string rows = headOfficeRows() + manyProducts(600);
        plain = std::make_unique<test::GatewayProcess>(rows);
        tls = std::make_unique<test::GatewayProcess>(
            rows, test::GatewayAccount{},
            std::vector<std::string>{"--tls-cert", issued.certificate, "--tls-key", issued.key});
    }
    static void TearDownTestSuite() {
        tls.reset();
        plain.reset();
        authority.reset();
        folder.reset();
    }

    static inline std::unique_ptr<test::TempFolder> folder;
    static inline std::unique_ptr<test::TestAuthority> authority;
    static inline std::unique_ptr<test::GatewayProcess> plain, tls;
};

TEST_F(GatewayTls, RepliesInsideTls12And13AreThePlainGatewaysByteForByte) {
    std::string wrongAccount = storeRequest("SELECT * FROM CUSTOMER ");
    wrongAccount.replace(wrongAccount.find("password=quillbarn"), 18, "password=wrong-one");
    const std::vector<std::string> requests = {
        storeRequest(signInStatement("S001", "5678")),
        storeRequest("SELECT * FROM PRODUCT ORDER BY PROD_ID "),  // over 256 rows: chunked
        storeRequest("DELETE FROM PRODUCT "),
        wrongAccount,
    };
    for (const std::string& request : requests) {
        RawHttpClient client(plain->port());
        client.send(request);
        const std::string expected = client.readToClose();
        ASSERT_TRUE(expected.starts_with("HTTP/1.1 200 OK\r\n")) << expected;
        for (int version : {TLS1_2_VERSION, TLS1_3_VERSION})
            EXPECT_EQ(tlsExchange(tls->port(), authority->certificate(), request, version), expected)
                << request.substr(0, request.find("\r\n"));
    }
    EXPECT_NE(plain->log().find(" 200 rows=603 "), std::string::npos);
}

TEST_F(GatewayTls, OlderTlsAndPlainHttpAreRefused) {
    for (int version : {TLS1_VERSION, TLS1_1_VERSION}) {
        try {
            tlsExchange(tls->port(), authority->certificate(), storeRequest("SELECT 1 "), version);
            ADD_FAILURE() << "TLS version " << std::hex << version << " accepted";
        } catch (const std::runtime_error& e) {
            // The gateway's alert, not a client that offered nothing.
            EXPECT_NE(std::string(e.what()).find("alert protocol version"), std::string::npos)
                << e.what();
        }
    }
    RawHttpClient client(tls->port());
    client.send(storeRequest(signInStatement("S001", "5678")));
    EXPECT_EQ(client.readToClose(), emptyReply(400));
}

TEST_F(GatewayTls, PastTheConnectionLimitAStoreReadsTheRefusalInsideTls) {
    const auto issued = authority->issue("limited", {"127.0.0.1"});
    test::GatewayProcess limited(headOfficeRows(), {},
                                 {"--tls-cert", issued.certificate, "--tls-key", issued.key,
                                  "--max-connections", "1"});
    RawHttpClient holding(limited.port());  // a store that has not sent anything yet
    ASSERT_TRUE(holding.connected());
    EXPECT_EQ(tlsExchange(limited.port(), authority->certificate(),
                          storeRequest(signInStatement("S001", "5678")), TLS1_3_VERSION),
              emptyReply(503));
}

TEST_F(GatewayTls, AKeyThatIsNotTheCertificatesStopsTheGatewayAtStart) {
    const auto one = authority->issue("one", {"127.0.0.1"});
    const auto other = authority->issue("other", {"127.0.0.1"});
    for (const auto& [options, failure] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--tls-cert", one.certificate, "--tls-key", other.key},
              "qor-gateway: the private key " + other.key + " does not belong to the certificate " +
                  one.certificate},
             {{"--tls-cert", one.certificate}, "qor-gateway: --tls-cert and --tls-key go together"}}) {
        try {
            test::GatewayProcess refused("", {}, options);
            ADD_FAILURE() << "started";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(failure), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace qor::headoffice::testing
