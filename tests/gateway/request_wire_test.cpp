// The request as it reaches the gateway, byte for byte.
#include <gtest/gtest.h>

#include <ctime>
#include <regex>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "gateway/http_address.h"
#include "gateway/multipart_request.h"
#include "gateway_test_support.h"
#include "scripted_server.h"
#include "text/cp950.h"
#include "text/local_time.h"
#include "text/errors.h"

namespace qor::gateway::testing {
namespace {

const std::string kEmptyAnswer = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";

std::string portSettings(unsigned short port, const std::string& more = "") {
    return "[set]\r\nport=" + std::to_string(port) + "\r\n" + more;
}

// What the client must send for these values, built here by hand.
std::string expectedRequest(const std::string& target, const std::string& host,
                            const std::string& boundary, const std::string& user,
                            const std::string& password, const std::string& sql) {
    std::string body;
    const std::pair<std::string, std::string> fields[] = {
        {"user_name", user}, {"password", password}, {"sql", sql}};
    for (const auto& [name, value] : fields)
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name +
                "\"\r\n\r\n" + value + "\r\n";
    body += "\r\n--" + boundary + "--\r\n";
    return "POST " + target + " HTTP/1.0\r\n"
           "Connection: keep-alive\r\n"
           "Content-Type: multipart/form-data; boundary=" + boundary + "\r\n"
           "Content-Length: " + std::to_string(body.size()) + "\r\n"
           "Host: " + host + "\r\n"
           "Accept: text/html, */*\r\n"
           "Accept-Encoding: big5\r\n"
           "User-Agent: Mozilla/4.0 (compatible; Indy Library)\r\n"
           "\r\n" + body;
}

std::string localDatePart() {
    std::time_t now = std::time(nullptr);
    const std::tm local = text::localTime(now);
    char text[40];
    std::snprintf(text, sizeof text, "%02d%02d%02d", local.tm_mon + 1, local.tm_mday,
                  local.tm_year % 100);
    return text;
}

// One call against a server answering with an empty 200; returns the recorded request.
std::string sendOne(const std::string& moreSettings, const std::string& statement) {
    ScriptedServer server({{kEmptyAnswer}});
    TempFolder folder;
    writeFile(folder.file("httpset.ini"), portSettings(server.port(), moreSettings));
    RecordingDialogs dialogs;
    TDataModHttp module(folder.path().string(), folder.file("dump"), dialogs, 10000);
    ds::Dataset target("ClientDataSet1");
    module.OpenRemoteQuery(target, statement);
    EXPECT_TRUE(dialogs.messages().empty());
    return server.request(0);
}

TEST(RequestWire, DefaultsGoToPort80WithTheBareHostHeader) {
    TempFolder folder;  // no httpset.ini in it
    RecordingDialogs dialogs;
    TDataModHttp module(folder.path().string(), folder.file("dump"), dialogs);
    EXPECT_EQ(module.QueryUrl(), "http://127.0.0.1:80/oVat/ado/index.php");
    EXPECT_EQ(module.GatewayUserName(), "SYSDBA");
    EXPECT_EQ(module.GatewayPassword(), "quillbarn");

    // Port 80 itself is not bound here (other programs under test may look there), so the
    // head for the default address is checked on its own; the wire tests below cover the rest.
    const HttpAddress address =
        parseHttpAddress(module.QueryUrl() + "?user_name=SYSDBA&password=quillbarn");
    EXPECT_EQ(address.port, 80);
    const std::string boundary = "--------010224093005007";
    const std::string body = multipartBody(
        boundary, {{"user_name", "SYSDBA"}, {"password", "quillbarn"}, {"sql", "SELECT 1 "}});
    EXPECT_EQ(requestHead(address, boundary, body.size(), "") + body,
              expectedRequest("/oVat/ado/index.php?user_name=SYSDBA&password=quillbarn",
                              "127.0.0.1", boundary, "SYSDBA", "quillbarn", "SELECT 1 "));
    std::tm local{};
    local.tm_year = 124, local.tm_mon = 0, local.tm_mday = 2;
    local.tm_hour = 9, local.tm_min = 30, local.tm_sec = 5;
    EXPECT_EQ(boundaryFor(local, 7), "--------010224093005007");
}

TEST(RequestWire, OtherPortAppearsInTheHostHeaderAndTheBoundaryCarriesTheDate) {
    ScriptedServer server({{kEmptyAnswer}});
    TempFolder folder;
    writeFile(folder.file("httpset.ini"), portSettings(server.port()));
    RecordingDialogs dialogs;
    TDataModHttp module(folder.path().string(), folder.file("dump"), dialogs, 10000);
    const std::string port = std::to_string(server.port());
    EXPECT_EQ(module.QueryUrl(), "http://127.0.0.1:" + port + "/oVat/ado/index.php");

    const std::string before = localDatePart();
    ds::Dataset target("ClientDataSet1");
    module.OpenRemoteQuery(target, "select 1 from rdb$database\r\n");
    const std::string after = localDatePart();

    const std::string request = server.request(0);
    const std::string boundary = boundaryOf(request);
    ASSERT_TRUE(std::regex_match(boundary, std::regex("-{8}[0-9]{15}"))) << boundary;
    const std::string date = boundary.substr(8, 6);
    EXPECT_TRUE(date == before || date == after) << boundary;
    EXPECT_EQ(request, expectedRequest("/oVat/ado/index.php?user_name=SYSDBA&password=quillbarn",
                                       "127.0.0.1:" + port, boundary, "SYSDBA", "quillbarn",
                                       "SELECT 1 FROM RDB$DATABASE "));
}

TEST(RequestWire, SettingsComeFromHttpsetIni) {
    TempFolder folder;
    writeFile(folder.file("httpset.ini"),
              "[SET]\r\nHost = \"localhost\"\r\nUSER_NAME=store1\r\npassword=\r\n"
              "Driver= mssql \r\nport=8080\r\n");
    RecordingDialogs dialogs;
    TDataModHttp module(folder.path().string(), folder.file("dump"), dialogs);
    EXPECT_EQ(module.GatewayHost(), "localhost");
    EXPECT_EQ(module.GatewayUserName(), "store1");
    EXPECT_EQ(module.GatewayPassword(), "");
    EXPECT_EQ(module.GatewayDriver(), "mssql");
    EXPECT_EQ(module.QueryUrl(), "http://localhost:8080/oVat/mssql/index.php");
}

TEST(RequestWire, HashEndsTheRequestTargetButTheFormKeepsBothValuesWhole) {
    const std::string request =
        sendOne("user_name=st#ore\r\npassword=pa\\ss\r\n", "select 1\r\n");
    EXPECT_EQ(requestLineOf(request), "POST /oVat/ado/index.php?user_name=st HTTP/1.0");
    EXPECT_EQ(formFieldOf(request, "user_name"), "st#ore");
    EXPECT_EQ(formFieldOf(request, "password"), "pa\\ss");
}

TEST(RequestWire, BackslashesInTheAccountTravelAsSlashesExceptInsideBig5) {
    // 許 is B3 5C: its second byte is a backslash that belongs to the character.
    const std::string password = "x\\y" + text::utf8ToCp950("許") + "#z";
    const std::string request =
        sendOne("user_name=a\\b\r\npassword=" + password + "\r\n", "select 1\r\n");
    EXPECT_EQ(requestLineOf(request), "POST /oVat/ado/index.php?user_name=a/b&password=x/y\xB3\x5C HTTP/1.0");
    EXPECT_EQ(formFieldOf(request, "user_name"), "a\\b");
    EXPECT_EQ(formFieldOf(request, "password"), password);
}

TEST(RequestWire, SupplierStatementArrivesOnOneLineInCapitals) {
    const std::string statement =
        "SELECT a.PROVIDER_ID, a.PROVIDER_NAME, a.PROVIDER_PHONE ,a.BUSINESS_NUM \r\n"
        " FROM PROVIDER a order by a.PROVIDER_ID \r\n";
    const std::string request = sendOne("", statement);
    const std::string sql = "SELECT A.PROVIDER_ID, A.PROVIDER_NAME, A.PROVIDER_PHONE ,A.BUSINESS_NUM"
                            "   FROM PROVIDER A ORDER BY A.PROVIDER_ID  ";
    EXPECT_EQ(formFieldOf(request, "sql"), sql + "\r\n");
    EXPECT_TRUE(bodyOf(request).ends_with(sql + "\r\n\r\n--" + boundaryOf(request) + "--\r\n"));
}

TEST(RequestWire, LiteralsGoInCapitalsWhileBig5CharactersAndLoneLineEndsStay) {
    // 多 is A6 68: its second byte is a small "h" that must not change.
    const std::string many = text::utf8ToCp950("多");
    const std::string request =
        sendOne("", "select * from x where a = 'abc" + many + "'\r\nand b\rc\nd\r\n");
    EXPECT_EQ(formFieldOf(request, "sql"),
              "SELECT * FROM X WHERE A = 'ABC" + many + "' AND B\rC\nD \r\n");
}

TEST(RequestWire, TwoCallsUseTwoConnectionsWithNewBoundaries) {
    ScriptedServer server({{kEmptyAnswer}});
    TempFolder folder;
    writeFile(folder.file("httpset.ini"), portSettings(server.port()));
    RecordingDialogs dialogs;
    TDataModHttp module(folder.path().string(), folder.file("dump"), dialogs, 10000);
    ds::Dataset target("ClientDataSet1");
    module.OpenRemoteQuery(target, "select 1\r\n");
    module.OpenRemoteQuery(target, "select 2\r\n");

    ASSERT_EQ(server.connectionCount(), 2);
    const std::string first = server.request(0), second = server.request(1);
    EXPECT_NE(boundaryOf(first), boundaryOf(second));
    EXPECT_TRUE(bodyOf(first).starts_with("--" + boundaryOf(first) + "\r\n"));
    EXPECT_TRUE(bodyOf(second).starts_with("--" + boundaryOf(second) + "\r\n"));
    EXPECT_EQ(formFieldOf(second, "sql"), "SELECT 2 \r\n");
}

TEST(RequestWire, PortThatIsNoNumberIsATransportFailure) {
    TempFolder folder;
    writeFile(folder.file("httpset.ini"), "[set]\r\nport=80a\r\n");
    RecordingDialogs dialogs;
    TDataModHttp module(folder.path().string(), folder.file("dump"), dialogs, 10000);
    ds::Dataset target("ClientDataSet1");
    EXPECT_THROW(module.OpenRemoteQuery(target, "select 1\r\n"), SilentAbort);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0], "http://127.0.0.1:80a/oVat/ado/index.php" +
                                       text::utf8ToCp950("錯誤的連線: ") +
                                       "Invalid port number: 80a");
}

}  // namespace
}  // namespace qor::gateway::testing
