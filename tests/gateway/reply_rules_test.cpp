// How replies are read: interim replies, redirects, cookies, body framing, failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string_view>

#include "gateway_test_support.h"
#include "gateway/reply_reader.h"
#include "gateway/transport_failure.h"
#include "scripted_server.h"

namespace qor::gateway::testing {
namespace {

using Then = ScriptedReply::Then;

const std::string kOk = "HTTP/1.1 200 OK";

TEST(ReplyRules, InterimContinueIsSkipped) {
    ScriptedServer server({{"HTTP/1.1 100 Continue\r\n\r\n" + httpReply(kOk, "<RESULT>after")}});
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), failed("<RESULT>after"));
}

TEST(ReplyRules, RedirectRepeatsTheSamePostWithTheCookieItSet) {
    ScriptedServer server({
        {httpReply("HTTP/1.1 302 Found", "moved away",
                   "Location: /oVat/ado/next.php\r\nSet-Cookie: sid=abc; path=/\r\n")},
        {httpReply(kOk, "<RESULT>done")},
    });
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), failed("<RESULT>done"));

    ASSERT_EQ(server.connectionCount(), 2);
    const std::string first = server.request(0), second = server.request(1);
    // Same request line but the new target, same headers plus the cookie, same body.
    std::string expected = first;
    expected.replace(0, expected.find("\r\n"), "POST /oVat/ado/next.php HTTP/1.0");
    expected.insert(headOf(expected).size() - 2, "Cookie: sid=abc\r\n");
    EXPECT_EQ(second, expected);
    EXPECT_TRUE(client.dialogs.messages().empty());
}

TEST(ReplyRules, RedirectChainFollowsAbsoluteAndRelativeLocations) {
    std::atomic<unsigned short> port{0};
    ScriptedServer server([&](int i) -> ScriptedReply {
        if (i == 0)
            return {httpReply("HTTP/1.1 301 Moved", "",
                              "Location: http://127.0.0.1:" + std::to_string(port) + "/a/b.php\r\n")};
        if (i == 1) return {httpReply("HTTP/1.1 307 Temporary", "", "Location: c.php?x=1\r\n")};
        // A Location on a 2xx reply redirects as well.
        if (i == 2) return {httpReply(kOk, "not this", "Location: /d\r\n")};
        return {httpReply(kOk, "<RESULT>end")};
    });
    port = server.port();
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), failed("<RESULT>end"));
    ASSERT_EQ(server.connectionCount(), 4);
    EXPECT_EQ(requestLineOf(server.request(1)), "POST /a/b.php HTTP/1.0");
    EXPECT_EQ(requestLineOf(server.request(2)), "POST /a/c.php?x=1 HTTP/1.0");
    EXPECT_EQ(requestLineOf(server.request(3)), "POST /d HTTP/1.0");
    EXPECT_EQ(headerOf(server.request(3), "Host"), "127.0.0.1:" + std::to_string(server.port()));
}

TEST(ReplyRules, FifteenthRedirectEndsInAnEmptyReply) {
    ScriptedServer server({{httpReply("HTTP/1.1 302 Found", "", "Location: /again\r\n")}});
    GatewayClient client(server.port());
    client.fillTarget();
    EXPECT_EQ(client.call(), returned());
    EXPECT_EQ(server.connectionCount(), 15);
    EXPECT_FALSE(client.target.active());
    EXPECT_EQ(client.target.fieldCount(), 0);
    EXPECT_TRUE(client.dialogs.messages().empty());
}

TEST(ReplyRules, RedirectToALocationWithAControlCharacterIsAFailure) {
    // Followed, the CR would end the next request line inside the target.
    ScriptedServer server(
        {{httpReply("HTTP/1.1 302 Found", "", "Location: /a\rX-Injected: 1\r\n")}});
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), aborted());
    EXPECT_EQ(server.connectionCount(), 1);
    EXPECT_EQ(client.dialogs.messages(),
              std::vector<std::string>{client.failureMessage("HTTP/1.1 302 Found")});
}

TEST(ReplyRules, RedirectWithoutLocationIsAFailure) {
    ScriptedServer server({{httpReply("HTTP/1.1 303 See Other", "")}});
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), aborted());
    EXPECT_EQ(client.dialogs.messages(),
              std::vector<std::string>{client.failureMessage("HTTP/1.1 303 See Other")});
}

TEST(ReplyRules, CookiesOfAFailedReplyAreSentOnTheNextCall) {
    ScriptedServer server({
        {httpReply("HTTP/1.1 500 Internal Server Error", "oops",
                   "Set-Cookie: a=1\r\nset-cookie2: b=2\r\nSET-COOKIE: a=3\r\n")},
        {httpReply(kOk, "<RESULT>x")},
    });
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), aborted());
    EXPECT_EQ(headerOf(server.request(0), "Cookie"), "");
    EXPECT_EQ(client.call(), failed("<RESULT>x"));
    EXPECT_EQ(headerOf(server.request(1), "Cookie"), "a=3; b=2");
}

TEST(ReplyRules, NoContentHasNoBody) {
    // The connection stays open: reading a body here would wait for the time limit.
    ScriptedServer server({{"HTTP/1.1 204 No Content\r\n\r\n", Then::KeepOpen}});
    GatewayClient client(server.port());
    client.fillTarget();
    EXPECT_EQ(client.call(), returned());
    EXPECT_FALSE(client.target.active());
}

TEST(ReplyRules, ChunkedBodyIsJoined) {
    ScriptedServer server({{"HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n"
                            "5\r\n<RESU\r\n"
                            "a;name=value\r\nLT>chunked\r\n"
                            "1\r\n\n\r\n"
                            "0\r\nX-Trailer: yes\r\n\r\n",
                            Then::KeepOpen}});
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), failed("<RESULT>chunked\n"));
}

TEST(ReplyRules, BodyAfterOneThatFailedMidwayHoldsOnlyItsOwnBytes) {
    std::string_view stream = "5\r\nhello\r\nzz\r\n"
                              "3\r\nabc\r\n0\r\n\r\n"
                              "de";
    ReplyReader reader(
        [&](char* buffer, std::size_t room, std::chrono::milliseconds) {
            const std::size_t n = std::min({room, std::size_t{4}, stream.size()});
            std::memcpy(buffer, stream.data(), n);
            stream.remove_prefix(n);
            return n;
        },
        std::chrono::milliseconds(1000));
    EXPECT_THROW(reader.readChunked(), TransportFailure);
    EXPECT_EQ(reader.readChunked(), "abc");
    EXPECT_EQ(reader.readUpTo(5), "de");
}

TEST(ReplyRules, BodyWithoutLengthIsReadToTheClose) {
    ScriptedServer server({{"HTTP/1.0 200 OK\r\nContent-Length: many\r\n\r\n<RESULT>to the end"}});
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), failed("<RESULT>to the end"));
}

TEST(ReplyRules, EarlyCloseCutsTheBodyShortWithoutFailure) {
    ScriptedServer server({{"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n<RESULT>cut"}});
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), failed("<RESULT>cut"));
    EXPECT_TRUE(client.dialogs.messages().empty());
}

TEST(ReplyRules, ContentLengthFramesTheBody) {
    // The connection stays open: reading past the length would wait for the time limit.
    ScriptedServer server({
        {"HTTP/1.1 200 OK\r\nContent-Length: 11\r\n\r\n<RESULT>abcdef", Then::KeepOpen},
        {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n<RESULT>not read", Then::KeepOpen},
    });
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), failed("<RESULT>abc"));
    EXPECT_EQ(client.call(), returned());
}

TEST(ReplyRules, ServerErrorShowsItsStatusLineAndLeavesTheTarget) {
    ScriptedServer server({{httpReply("HTTP/1.1 500 Internal Server Error", "<RESULT>hidden"),
                            Then::KeepOpen}});
    GatewayClient client(server.port());
    client.fillTarget();
    EXPECT_EQ(client.call(), aborted());
    EXPECT_EQ(client.dialogs.messages(),
              std::vector<std::string>{client.failureMessage("HTTP/1.1 500 Internal Server Error")});
    EXPECT_TRUE(client.targetUntouched());
    EXPECT_TRUE(server.waitForClientClose(0));
}

TEST(ReplyRules, StatusesThatAreNotAnswersAreFailures) {
    for (const std::string line : {"HTTP/1.1 2OO OK", "HTTP/1.0", "HTTP/1.1 304 Not Modified",
                                   "HTTP/1.1 404 Not Found", "HTTP/1.1 101 Switching"}) {
        ScriptedServer server({{httpReply(line, "")}});
        GatewayClient client(server.port());
        EXPECT_EQ(client.call(), aborted()) << line;
        EXPECT_EQ(client.dialogs.messages(), std::vector<std::string>{client.failureMessage(line)});
    }
}

TEST(ReplyRules, HeaderLineLongerThan65000CharactersIsAFailure) {
    const std::string name = "X-Long: ";
    const std::string longest = name + std::string(65000 - name.size(), 'a');
    {
        ScriptedServer server({{httpReply(kOk, "<RESULT>fits", longest + "\r\n")}});
        GatewayClient client(server.port());
        EXPECT_EQ(client.call(), failed("<RESULT>fits"));
    }
    {
        ScriptedServer server({{httpReply(kOk, "<RESULT>too long", longest + "a\r\n")}});
        GatewayClient client(server.port());
        EXPECT_EQ(client.call(), aborted());
        EXPECT_EQ(client.dialogs.messages(),
                  std::vector<std::string>{client.failureMessage("Maximum line length exceeded.")});
    }
}

TEST(ReplyRules, PassingTheTimeLimitIsAFailureAndTheNextCallStillWorks) {
    ScriptedServer server({{"", Then::Stall}, {httpReply(kOk, "<RESULT>second")}});
    GatewayClient client(server.port(), 300);
    client.fillTarget();
    EXPECT_EQ(client.call(), aborted());
    EXPECT_EQ(client.dialogs.messages(),
              std::vector<std::string>{client.failureMessage("Read timed out.")});
    EXPECT_TRUE(client.targetUntouched());
    EXPECT_EQ(client.call(), failed("<RESULT>second"));
}

TEST(ReplyRules, RefusedConnectionIsAFailure) {
    unsigned short port;
    {
        ScriptedServer closed({{""}});
        port = closed.port();
    }
    GatewayClient client(port);
    EXPECT_EQ(client.call(), aborted());
    EXPECT_EQ(client.dialogs.messages(),
              std::vector<std::string>{client.failureMessage("Connection refused.")});
}

TEST(ReplyRules, KeepAliveConnectionIsClosedWhenTheNextCallStarts) {
    ScriptedServer server({
        {httpReply(kOk, "<RESULT>one", "Connection: Keep-Alive\r\n"), Then::KeepOpen},
        {httpReply(kOk, "<RESULT>two"), Then::KeepOpen},
    });
    GatewayClient client(server.port());
    EXPECT_EQ(client.call(), failed("<RESULT>one"));
    EXPECT_EQ(client.call(), failed("<RESULT>two"));
    EXPECT_EQ(server.connectionCount(), 2);
    EXPECT_TRUE(server.waitForClientClose(0));
    // Without keep-alive the connection is closed as soon as the answer is read.
    EXPECT_TRUE(server.waitForClientClose(1));
}

}  // namespace
}  // namespace qor::gateway::testing
