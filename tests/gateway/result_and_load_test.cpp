// What happens to the reply: error replies, loading into the target, and the reply dump.
#include <gtest/gtest.h>

#include "chinese_system_messages.h"
#include "gateway_test_support.h"
#include "scripted_server.h"

namespace qor::gateway::testing {
namespace {

const std::string kOk = "HTTP/1.1 200 OK";

const std::string kPacket =
    "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n"
    "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
    "<FIELD attrname=\"CUST_ID\" fieldtype=\"string\" WIDTH=\"10\"/>"
    "<FIELD attrname=\"CUST_NAME\" fieldtype=\"string\" WIDTH=\"50\"/>"
    "</FIELDS><PARAMS LCID=\"0\"/></METADATA><ROWDATA>"
    "<ROW CUST_ID=\"A001\" CUST_NAME=\"\xB0\xD3\xAB\x7E\"/>"
    "<ROW CUST_ID=\"A002\" CUST_NAME=\"second\"/>"
    "</ROWDATA></DATAPACKET>";

TEST(ReplyHandling, PacketFillsTheTargetWithTheFirstRowCurrent) {
    ScriptedServer server({{httpReply(kOk, kPacket)}});
    GatewayClient client(server.port());
    client.fillTarget();
    ASSERT_EQ(client.call(), returned());
    ASSERT_TRUE(client.target.active());
    ASSERT_EQ(client.target.fieldCount(), 2);
    EXPECT_EQ(client.target.field(1).fieldName(), "CUST_NAME");
    EXPECT_EQ(client.target.recordCount(), 2);
    EXPECT_EQ(client.target.recNo(), 1);
    EXPECT_EQ(client.target.fieldByName("cust_name").asString(), "\xB0\xD3\xAB\x7E");
}

TEST(ReplyHandling, ErrorReplyRaisesTheWholeReplyAndLeavesTheTarget) {
    for (const std::string reply : {"<RESULT>no such table</RESULT>", "<RESULT>"}) {
        ScriptedServer server({{httpReply(kOk, reply)}});
        GatewayClient client(server.port());
        client.fillTarget();
        EXPECT_EQ(client.call(), failed(reply));
        EXPECT_TRUE(client.targetUntouched()) << reply;
        EXPECT_TRUE(client.dialogs.messages().empty());
    }
}

TEST(ReplyHandling, ReplyThatCannotBeLoadedRaisesItAndClosesTheTarget) {
    // Small letters do not make an error reply: the load fails instead, with the same text.
    for (const std::string reply : {"<result>no such table</result>", "<RESULT", "plain text"}) {
        ScriptedServer server({{httpReply(kOk, reply)}});
        GatewayClient client(server.port());
        client.fillTarget();
        EXPECT_EQ(client.call(), failed(reply));
        EXPECT_FALSE(client.target.active()) << reply;
        EXPECT_EQ(client.target.fieldCount(), 0) << reply;
    }
}

TEST(ReplyHandling, EmptyReplyLeavesTheTargetClosedAndRaisesNothing) {
    ScriptedServer server({{httpReply(kOk, "")}});
    GatewayClient client(server.port());
    client.fillTarget();
    EXPECT_EQ(client.call(), returned());
    EXPECT_FALSE(client.target.active());
    EXPECT_EQ(client.target.fieldCount(), 0);
    EXPECT_TRUE(client.dialogs.messages().empty());
}

TEST(ReplyDump, HoldsTheLastReplyOfEverySuccessfulExchange) {
    ScriptedServer server({
        {httpReply(kOk, kPacket)},
        {httpReply(kOk, "<RESULT>bad</RESULT>")},
        {httpReply("HTTP/1.1 500 Internal Server Error", "<RESULT>never dumped")},
    });
    GatewayClient client(server.port());
    const std::string dump = client.dumpDir() + "/Result.txt";

    ASSERT_EQ(client.call(), returned());
    EXPECT_EQ(readFile(dump), kPacket + "\r\n");
    // Error replies are dumped too, replacing the longer packet.
    EXPECT_EQ(client.call(), failed("<RESULT>bad</RESULT>"));
    EXPECT_EQ(readFile(dump), "<RESULT>bad</RESULT>\r\n");
    // A failed exchange leaves the last dump as it was.
    EXPECT_EQ(client.call(), aborted());
    EXPECT_EQ(readFile(dump), "<RESULT>bad</RESULT>\r\n");
}

TEST(ReplyDump, MissingFoldersAreCreated) {
    ScriptedServer server({{httpReply(kOk, "")}});
    TempFolder folder;
    writeFile(folder.file("httpset.ini"), "[set]\nport=" + std::to_string(server.port()) + "\n");
    RecordingDialogs dialogs;
    TDataModHttp module(folder.path().string(), folder.file("a/b/c"), dialogs, 10000);
    ds::Dataset target("ClientDataSet1");
    module.OpenRemoteQuery(target, "select 1\r\n");
    EXPECT_EQ(readFile(folder.file("a/b/c/Result.txt")), "\r\n");
}

// The dump file's path as the failure names it, with the system's own separator.
std::string dumpFile(const GatewayClient& client) {
    return (std::filesystem::path(client.dumpDir()) / "Result.txt").string();
}

TEST(ReplyDump, FolderThatCannotBeWrittenIsATransportFailure) {
    ScriptedServer server({{httpReply(kOk, "<RESULT>would be shown")}});
    GatewayClient client(server.port());
    // A plain file where the folder should be: not even root can write below it.
    writeFile(client.dumpDir(), "in the way");
    client.fillTarget();
    EXPECT_EQ(client.call(), aborted());
    ASSERT_EQ(client.dialogs.messages().size(), 1u);
    EXPECT_TRUE(client.dialogs.messages()[0].starts_with(
        client.failureMessage("Cannot create file \"" + dumpFile(client) + "\". ")))
        << client.dialogs.messages()[0];
    EXPECT_TRUE(client.targetUntouched());
}

TEST(ReplyDump, TheSystemsReasonIsShownInEnglishUnderAChineseLocale) {
    test::ChineseSystemMessages chinese;
    if (!chinese.translated()) GTEST_SKIP() << "no translated system messages on this machine";
    ScriptedServer server({{httpReply(kOk, "")}});
    GatewayClient client(server.port());
    writeFile(client.dumpDir(), "in the way");
    EXPECT_EQ(client.call(), aborted());
    EXPECT_EQ(client.dialogs.messages(),
              std::vector<std::string>{client.failureMessage(
                  "Cannot create file \"" + dumpFile(client) + "\". Not a directory.")});
}

}  // namespace
}  // namespace qor::gateway::testing
