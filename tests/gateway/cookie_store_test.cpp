// The cookie store: what is kept and what is sent back where.
#include <gtest/gtest.h>

#include "gateway/cookie_store.h"

namespace qor::gateway {
namespace {

const std::string kTarget = "/oVat/ado/index.php?user_name=a&password=b";

TEST(CookieStore, SendsCookiesBackOnlyToTheHostThatSetThem) {
    CookieStore store;
    store.storeSetCookie("127.0.0.1", kTarget, "sid=1; Path=/");
    store.storeSetCookie("Gateway.Example", kTarget, "other=2; Path=/");
    EXPECT_EQ(store.cookieHeader("127.0.0.1", kTarget), "sid=1");
    EXPECT_EQ(store.cookieHeader("gateway.example", "/"), "other=2");
    EXPECT_EQ(store.cookieHeader("localhost", kTarget), "");
}

TEST(CookieStore, PathsLimitWhereACookieGoesAndLongerPathsComeFirst) {
    CookieStore store;
    store.storeSetCookie("h", kTarget, "wide=1; path=/");
    store.storeSetCookie("h", kTarget, "folder=2");  // the request's folder: /oVat/ado
    store.storeSetCookie("h", kTarget, "narrow=3; path=/oVat/ado/index.php");
    EXPECT_EQ(store.cookieHeader("h", kTarget), "narrow=3; folder=2; wide=1");
    EXPECT_EQ(store.cookieHeader("h", "/oVat/adonis"), "wide=1");
    EXPECT_EQ(store.cookieHeader("h", "/oVat/ado/x"), "folder=2; wide=1");
}

TEST(CookieStore, ExpiredCookiesAreDropped) {
    CookieStore store;
    store.storeSetCookie("h", kTarget, "a=1");
    store.storeSetCookie("h", kTarget, "b=2");
    store.storeSetCookie("h", kTarget, "c=0");
    store.storeSetCookie("h", kTarget, "c=3; Max-Age=3600");  // replaces c=0 in its place
    store.storeSetCookie("h", kTarget, "a=gone; Max-Age=0");
    store.storeSetCookie("h", kTarget, "b=gone; expires=Thu, 01-Jan-1970 00:00:01 GMT");
    store.storeSetCookie("h", kTarget, "d=4; Expires=Fri, 31 Dec 9999 23:59:59 GMT");
    EXPECT_EQ(store.cookieHeader("h", kTarget), "c=3; d=4");
}

TEST(CookieStore, CookiesWithControlCharactersAreIgnored) {
    // Sent back, the CR would end the next request's Cookie header line inside the value.
    CookieStore store;
    store.storeSetCookie("h", kTarget, "sid=abc\r\x01X-Injected: 1; path=/");
    store.storeSetCookie("h", kTarget, std::string("nul=a\0b", 7));
    store.storeSetCookie2("h", kTarget, "bad=\x7f, tab=a\tb");
    EXPECT_EQ(store.cookieHeader("h", kTarget), "tab=a\tb");
}

TEST(CookieStore, SetCookie2CarriesSeveralCookies) {
    CookieStore store;
    store.storeSetCookie2("h", kTarget, "a=\"x,y\"; Version=\"1\", b=2");
    EXPECT_EQ(store.cookieHeader("h", kTarget), "a=\"x,y\"; b=2");
}

TEST(CookieDate, ReadsTheUsualForms) {
    const std::chrono::sys_seconds expected{std::chrono::seconds(784111777)};  // 1994-11-06 08:49:37
    EXPECT_EQ(parseCookieDate("Sun, 06 Nov 1994 08:49:37 GMT"), expected);
    EXPECT_EQ(parseCookieDate("Sunday, 06-Nov-94 08:49:37 GMT"), expected);
    EXPECT_EQ(parseCookieDate("Sun Nov  6 08:49:37 1994"), expected);
    EXPECT_FALSE(parseCookieDate("tomorrow").has_value());
}

}  // namespace
}  // namespace qor::gateway
