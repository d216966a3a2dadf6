// The reply cache's bounds: a reply is given again only while it is younger than the
// lifetime, the bytes kept stay under the bound (the oldest going first), and a statement
// asked while its answer is being made waits for that answer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "reply_cache.h"

using namespace qor::headoffice;
using namespace std::chrono_literals;

namespace {

std::shared_ptr<const CachedReply> reply(std::size_t bytes) {
    return std::make_shared<const CachedReply>(CachedReply{std::string(bytes, 'x'), 1});
}

}  // namespace

TEST(ReplyCache, KeepsRepliesForTheirLifetimeAndWithinTheBound) {
    ReplyCache cache(60s, 1000);
    const auto t0 = ReplyCache::Clock::now();
    std::vector<std::shared_ptr<const CachedReply>> waited;
    auto waiter = [&](std::shared_ptr<const CachedReply> r) { waited.push_back(r); };

    ASSERT_TRUE(cache.lookup("A", waiter, t0).run);
    EXPECT_FALSE(cache.lookup("A", waiter, t0).run);  // waits for the answer being made
    cache.complete("A", reply(600), t0);
    ASSERT_EQ(waited.size(), 1u);
    EXPECT_EQ(waited[0]->bytes.size(), 600u);
    EXPECT_EQ(cache.lookup("A", waiter, t0 + 59s).reply, waited[0]);
    EXPECT_TRUE(cache.lookup("A", waiter, t0 + 60s).run);  // too old: run again
    cache.complete("A", reply(600), t0 + 60s);

    // B does not fit beside A: A, the oldest, goes.
    ASSERT_TRUE(cache.lookup("B", waiter, t0 + 61s).run);
    cache.complete("B", reply(500), t0 + 61s);
    EXPECT_EQ(cache.bytesKept(), 500u);
    EXPECT_TRUE(cache.lookup("A", waiter, t0 + 62s).run);
    // A reply past the bound is given to its waiters but not kept; nor is a failed answer.
    EXPECT_FALSE(cache.lookup("A", waiter, t0 + 62s).run);
    cache.complete("A", reply(1001), t0 + 62s);
    EXPECT_EQ(waited.back()->bytes.size(), 1001u);
    EXPECT_TRUE(cache.lookup("A", waiter, t0 + 63s).run);
    cache.complete("A", nullptr, t0 + 63s);
    EXPECT_TRUE(cache.lookup("A", waiter, t0 + 63s).run);
    EXPECT_EQ(cache.bytesKept(), 500u);
}

TEST(ReplyCache, OffMeansEveryStatementRuns) {
    ReplyCache cache(0s, 1000);
    const auto now = ReplyCache::Clock::now();
    EXPECT_TRUE(cache.lookup("A", {}, now).run);
    EXPECT_TRUE(cache.lookup("A", {}, now).run);
}
