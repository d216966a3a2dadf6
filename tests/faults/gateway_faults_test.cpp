// A head-office gateway that misbehaves once, met by the product download: the message each
// fault gives, what the download leaves behind (the head office's rows, the listed products,
// the reply dump), and that the same gateway module's next request, to the good gateway
// behind the same address, loads.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "gateway_process.h"
#include "shared_gateway.h"
#include "gateway_relay.h"
#include "store_workflows.h"
#include "text/cp950.h"
#include "text/local_date.h"

namespace qor::faults {
namespace {

using qor::test::Box;
using qor::test::GatewayRelay;

// Long enough for any good reply on a loaded machine; a stall waits it out once.
constexpr int kTimeLimitMs = 4000;

// Products H1..H3 changed today, new to any store.
std::string headOfficeRows() {
    std::string sql;
    for (const char* id : {"H1", "H2", "H3"})
        sql += "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE, PROD_NAME, PSALE_PRICE, VIP_PRICE, "
               "STOCK_QTY, CHG_DATE) VALUES ('" + std::string(id) + "', 'B" + id + "', '" +
               QOR_BIG5("蘋果汁") + "', 10, 9, 'Y', '" + text::localDateText(0) + "');\n";
    return sql;
}

// One fault, and how the rules say a call that meets it ends.
struct Fault {
    const char* name;
    enum Ending {
        TransportBox,  // the plain box QueryUrl + "錯誤的連線: " + text, target untouched
        ReplyBox,      // the error box with the whole reply, target closed
        Nothing,       // an empty reply: no box, target closed, the caller goes on
    } ending;
    std::string failureText;                   // TransportBox: the failure's own text
    std::function<void(GatewayRelay&)> inject;  // set up just before the call
    bool cutShort = false;                     // ReplyBox: the good reply, cut short
};

void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }

std::size_t afterFirstRow(const std::string& reply) {
    return reply.find("/>", reply.find("<ROWDATA>")) + 2;
}

std::vector<Fault> faults() {
    const std::string redirect =
        "HTTP/1.1 302 Found\r\nLocation: /oVat/ado/index.php\r\nContent-Length: 0\r\n\r\n";
    const std::string garbage = "\x89PNG\r\n\x1a\n<<garbage \xff\xfe>>";
    return {
        {"ConnectionRefused", Fault::TransportBox, "Connection refused.",
         [](GatewayRelay& relay) { relay.refuse(); }},
        {"ReplyCutInTheMiddle", Fault::ReplyBox, {},
         [](GatewayRelay& relay) {
             relay.inject(GatewayRelay::cutReply([](const std::string& r) { return r.size() / 2; }));
         },
         true},
        {"ReplyCutAfterTheFirstRow", Fault::ReplyBox, {},
         [](GatewayRelay& relay) { relay.inject(GatewayRelay::cutReply(afterFirstRow)); }, true},
        {"ReplyCutBeforeItsLastTag", Fault::ReplyBox, {},
         [](GatewayRelay& relay) {
             relay.inject(GatewayRelay::cutReply(
                 [](const std::string& r) { return r.size() - std::string("</DATAPACKET>").size(); }));
         },
         true},
        {"StallPastTheTimeLimit", Fault::TransportBox, "Read timed out.",
         [](GatewayRelay& relay) { relay.inject(GatewayRelay::stall()); }},
        {"ServerError", Fault::TransportBox, "HTTP/1.1 500 Internal Server Error",
         [](GatewayRelay& relay) {
             relay.inject(GatewayRelay::answer(
                 "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 5\r\n\r\noops!"));
         }},
        {"GarbageInsteadOfAPacket", Fault::ReplyBox, {},
         [garbage](GatewayRelay& relay) {
             relay.inject(GatewayRelay::answer("HTTP/1.1 200 OK\r\nContent-Length: " +
                                               std::to_string(garbage.size()) + "\r\n\r\n" + garbage));
         }},
        // Fifteen requests for the call, each sent on again: it ends as an empty reply.
        {"RedirectLoop", Fault::Nothing, {},
         [redirect](GatewayRelay& relay) { relay.inject(GatewayRelay::answer(redirect), 15); }},
    };
}

std::string testName(const ::testing::TestParamInfo<Fault>& info) { return info.param.name; }

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

class GatewayFault : public qor::test::SharedGateway<GatewayFault, ::testing::TestWithParam<Fault>> {
protected:
    static void SetUpTestSuite() { startGateway(headOfficeRows()); }

    // The workflows over an empty store; its gateway module talks to the relay.
    void SetUp() override {
        relay = std::make_unique<GatewayRelay>(gateway->port());
        qor::test::writeDbxFiles(store.folder(), store.path());
        qor::test::useDbxFilesIn(paths, folder());
        std::ofstream(folder() + "/httpset.ini")
            << "[set]\r\nhost=127.0.0.1\r\nport=" << relay->port() << "\r\n";
        w = std::make_unique<qor::test::Workflows>(paths, folder(), kTimeLimitMs);
    }

    void download() { w->dialogs.handle([&] { w->products.download("7", false); }); }
    // Injects the fault and downloads.
    void downloadAfterTheFault() {
        GetParam().inject(*relay);
        download();
        relay->listenAgain();  // after a refusal: the gateway is back for the next press
    }

    std::string folder() const { return store.folder().string(); }
    std::string dump() const { return readFile(store.folder() / "Result.txt"); }

    // The boxes the fault gave are the ones the rules give; `goodReply` is the dump of a
    // good call.
    void expectTheBoxOfTheFault(const std::string& goodReply) {
        const Fault& fault = GetParam();
        const auto& dialogs = w->dialogs;
        switch (fault.ending) {
        case Fault::TransportBox:
            ASSERT_EQ(dialogs.boxes.size(), 1u);
            EXPECT_EQ(dialogs.boxes[0].kind, Box::Message);
            EXPECT_EQ(dialogs.boxes[0].text,
                      w->http->QueryUrl() + QOR_BIG5("錯誤的連線: ") + fault.failureText);
            EXPECT_EQ(dump(), goodReply);  // only a successful exchange is dumped
            break;
        case Fault::ReplyBox:
            ASSERT_EQ(dialogs.boxes.size(), 1u);
            EXPECT_EQ(dialogs.boxes[0].kind, Box::Error);
            EXPECT_EQ(dialogs.boxes[0].text + "\r\n", dump());  // the whole reply, dumped
            if (fault.cutShort) {
                EXPECT_LT(dialogs.boxes[0].text.size() + 2, goodReply.size());
                EXPECT_TRUE(goodReply.starts_with(dialogs.boxes[0].text));
            }
            break;
        case Fault::Nothing:
            EXPECT_TRUE(dialogs.boxes.empty());
            break;
        }
    }

    qor::test::TempDatabase store;
    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
    std::unique_ptr<GatewayRelay> relay;
    std::unique_ptr<qor::test::Workflows> w;
};


std::vector<std::string> values(ds::Dataset& data, const char* field) {
    std::vector<std::string> all;
    for (int row = 0; row < data.rowCount(); ++row)
        all.push_back(data.displayTextAt(row, data.fieldByName(field)));
    return all;
}

TEST_P(GatewayFault, TheListedProductsStayUnlessTheReplyIsEmptyAndTheNextDownloadWorks) {
    const std::vector<std::string> listed{"BH1", "BH2", "BH3"};
    ds::Dataset& products = w->objects.CDS_PRODUCT;
    const auto& dialogs = w->dialogs;
    download();
    ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.boxes[0].text;
    ASSERT_EQ(values(products, "PROD_ID"), listed);
    const std::string goodReply = dump();
    // An edit in progress, not imported: the download must not lose it unless it lists anew.
    products.fieldByName("PROD_NAME").setAsString("being completed");

    downloadAfterTheFault();
    expectTheBoxOfTheFault(goodReply);
    if (GetParam().ending == Fault::Nothing) {
        // An empty reply lists nothing: the products are opened empty.
        EXPECT_TRUE(products.active());
        EXPECT_TRUE(products.isEmpty());
        EXPECT_FALSE(w->source.active());
    } else {
        EXPECT_EQ(values(products, "PROD_ID"), listed);
        EXPECT_EQ(products.state(), ds::DataSetState::Edit);
        EXPECT_EQ(products.fieldByName("PROD_NAME").asString(), "being completed");
        // The head-office rows: kept after a transport failure, dropped by a failed load.
        EXPECT_EQ(w->source.active(), GetParam().ending == Fault::TransportBox);
    }

    const std::size_t boxes = dialogs.boxes.size();
    download();
    EXPECT_EQ(dialogs.boxes.size(), boxes);
    EXPECT_EQ(values(products, "PROD_ID"), listed);
    EXPECT_EQ(products.fieldByName("PROD_NAME").asString(), QOR_BIG5("蘋果汁"));
    EXPECT_EQ(dump(), goodReply);
}

INSTANTIATE_TEST_SUITE_P(Injected, GatewayFault, ::testing::ValuesIn(faults()), testName);

}  // namespace
}  // namespace qor::faults
