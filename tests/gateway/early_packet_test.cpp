// Reading a packet's rows while the reply arrives: the table is the one a whole read gives,
// or the reader stands aside and the reply is loaded whole; and every ending of a long reply
// leaves the target as a short one does.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "dataset/packet.h"
#include "gateway/early_packet_reader.h"
#include "gateway_test_support.h"
#include "scripted_server.h"

namespace qor::gateway::testing {
namespace {

const std::string kHead =
    "<?xml version=\"1.0\" standalone=\"yes\"?>\n<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
    "<FIELD attrname=\"ID\" fieldtype=\"string\" WIDTH=\"10\"/>"
    "<FIELD attrname=\"NAME\" fieldtype=\"string\" WIDTH=\"30\"/>"
    "<FIELD attrname=\"PRICE\" fieldtype=\"r8\"/>"
    "</FIELDS><PARAMS LCID=\"1028\"/></METADATA><ROWDATA>";
const std::string kTail = "</ROWDATA></DATAPACKET>";

std::string row(int i, const std::string& price = "") {
    return "<ROW ID=\"P" + std::to_string(i) + "\" NAME=\"A&amp;B &lt;" + std::to_string(i) +
           "&gt; /> \xB0\xD3\" PRICE=\"" + (price.empty() ? std::to_string(i) + ".5" : price) +
           "\"/>";
}

std::string rows(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += row(i) + (i % 7 == 0 ? "\r\n " : "");
    return text;
}

// What the reader gives for `text` arriving `step` bytes at a time, read in small pieces.
std::optional<ds::Table> readEarly(const std::string& text, std::size_t step) {
    EarlyPacketReader reader(48);
    for (std::size_t size = step; size < text.size() + step; size += step)
        reader.bodyGrew(std::string_view(text).substr(0, std::min(size, text.size())));
    return reader.finish(text);
}

bool sameTable(const ds::Table& a, const ds::Table& b) {
    if (a.columns.size() != b.columns.size() || a.lcid != b.lcid) return false;
    for (std::size_t c = 0; c < a.columns.size(); ++c)
        if (a.columns[c].name != b.columns[c].name || a.columns[c].kind != b.columns[c].kind ||
            a.columns[c].size != b.columns[c].size)
            return false;
    return a.rows == b.rows;
}

}  // namespace

TEST(EarlyPacketReader, GivesTheTableOfTheWholeReplyOrStandsAside) {
    const std::string plain = kHead + rows(40) + kTail;
    const std::vector<std::string> texts = {
        plain,
        kHead + kTail,
        kHead + rows(40) + "</ROWDATA><ROWDATA>" + rows(5) + "</ROWDATA></DATAPACKET>",
        kHead + rows(20) + "<ROW ID=\"X\"><ROW ID=\"inner\"/></ROW>" + rows(20) + kTail,
        kHead + rows(20) + "<!-- <ROW ID=\"comment\"/> -->" + rows(20) + kTail,
        kHead + rows(20) + "text" + rows(20) + kTail,
        kHead + rows(20) + row(99, "not a number") + rows(20) + kTail,
        kHead + rows(40),                                        // cut short
        kHead + rows(40) + kTail + "<DATAPACKET/>",              // more after the end
        "<DATAPACKET><ROWDATA>" + rows(40) + "</ROWDATA><METADATA><FIELDS>"
        "<FIELD attrname=\"ID\" fieldtype=\"string\" WIDTH=\"10\"/></FIELDS></METADATA></DATAPACKET>",
        "<RESULT>" + rows(40) + "</RESULT>",
    };
    for (const std::string& text : texts) {
        std::optional<ds::Table> whole;
        try {
            whole = ds::readPacket(text);
        } catch (const std::exception&) {
        }
        for (std::size_t step : {1u, 7u, 100u, 100000u}) {
            std::optional<ds::Table> early = readEarly(text, step);
            if (!early) continue;  // stood aside: the reply is loaded whole
            ASSERT_TRUE(whole) << "read early what cannot be read whole: " << text;
            EXPECT_TRUE(sameTable(*early, *whole)) << step << " " << text;
        }
    }
    // The plain form gateways write is read early indeed.
    std::optional<ds::Table> early = readEarly(plain, 100);
    ASSERT_TRUE(early);
    EXPECT_EQ(early->rows.size(), 40u);
}

class LongReply : public ::testing::Test {
protected:
    // Over the size the reader waits for before it reads anything, in several chunks.
    static constexpr int kRows = 4000;

    static std::string chunked(const std::string& body, bool finished = true) {
        std::string text = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
        for (std::size_t at = 0; at < body.size(); at += 50000) {
            const std::string piece = body.substr(at, 50000);
            char size[16];
            std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
            text += size + piece + "\r\n";
        }
        return finished ? text + "0\r\n\r\n" : text;
    }
};

TEST_F(LongReply, LoadsTheRowsAWholeReadGives) {
    const std::string packet = kHead + rows(kRows) + kTail;
    ASSERT_GT(packet.size(), 2 * EarlyPacketReader::kPieceBytes);
    ScriptedServer server({{chunked(packet)}});
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), returned());
    ASSERT_EQ(client.target.recordCount(), kRows);
    EXPECT_EQ(client.target.toTable().rows, ds::readPacket(packet).rows);
    EXPECT_EQ(readFile(client.dumpDir() + "/Result.txt"), packet + "\r\n");
}

TEST_F(LongReply, EndsAsAShortOneDoes) {
    // A bad value near the end: the load fails with the whole reply and closes the target.
    const std::string bad = kHead + rows(kRows) + row(1, "x") + kTail;
    {
        ScriptedServer server({{chunked(bad)}});
        GatewayClient client(server.port());
        client.fillTarget();
        EXPECT_EQ(client.call(), failed(bad));
        EXPECT_FALSE(client.target.active());
        EXPECT_EQ(client.target.fieldCount(), 0);
    }
    // Cut off midway: a transport failure, the target as it was.
    {
        ScriptedServer server({{chunked(kHead + rows(kRows) + kTail, false)}});
        GatewayClient client(server.port());
        client.fillTarget();
        EXPECT_EQ(client.call(), aborted());
        EXPECT_EQ(client.dialogs.messages(),
                  std::vector<std::string>{client.failureMessage("Connection closed gracefully.")});
        EXPECT_TRUE(client.targetUntouched());
    }
    // A long error reply.
    {
        const std::string error = "<RESULT>" + rows(kRows) + "</RESULT>";
        ScriptedServer server({{httpReply("HTTP/1.1 200 OK", error)}});
        GatewayClient client(server.port());
        client.fillTarget();
        EXPECT_EQ(client.call(), failed(error));
        EXPECT_TRUE(client.targetUntouched());
    }
}

}  // namespace qor::gateway::testing
