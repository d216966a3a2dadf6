// Gateway addresses and redirect targets.
#include <gtest/gtest.h>

#include "gateway/http_address.h"
#include "gateway/transport_failure.h"

namespace qor::gateway {
namespace {

TEST(HttpAddress, TakesTheQueryAddressApart) {
    HttpAddress a = parseHttpAddress("http://10.0.0.5:8080/oVat/ado/index.php?user_name=S&password=p");
    EXPECT_EQ(a.host, "10.0.0.5");
    EXPECT_EQ(a.port, 8080);
    EXPECT_EQ(a.target, "/oVat/ado/index.php?user_name=S&password=p");
    EXPECT_EQ(hostHeader(a), "10.0.0.5:8080");

    HttpAddress b = parseHttpAddress("HTTP://gateway/x");
    EXPECT_EQ(b.port, 80);
    EXPECT_EQ(hostHeader(b), "gateway");
    // Only the text "80" leaves the port out of the Host header.
    EXPECT_EQ(hostHeader(parseHttpAddress("http://gateway:080/x")), "gateway:080");
}

TEST(HttpAddress, RejectsPortsAndProtocolsItCannotUse) {
    for (const char* address : {"http://h:80a/x", "http://h:/x", "http://h:0/x", "http://h:65536/x",
                                "https://h/x", "h:80/x"})
        EXPECT_THROW(parseHttpAddress(address), TransportFailure) << address;
}

TEST(HttpAddress, LocationsResolveAgainstTheRedirectedRequest) {
    const HttpAddress request = parseHttpAddress("http://h:81/oVat/ado/index.php?user_name=a");
    EXPECT_EQ(resolveLocation(request, "/other.php").target, "/other.php");
    EXPECT_EQ(resolveLocation(request, "next.php").target, "/oVat/ado/next.php");
    EXPECT_EQ(resolveLocation(request, "?page=2").target, "/oVat/ado/index.php?page=2");
    EXPECT_EQ(resolveLocation(request, "  /spaced  ").target, "/spaced");
    EXPECT_EQ(resolveLocation(request, "/p#frag").target, "/p");
    EXPECT_EQ(resolveLocation(request, "\\win\\path").target, "/win/path");

    HttpAddress moved = resolveLocation(request, "http://elsewhere/q");
    EXPECT_EQ(moved.host, "elsewhere");
    EXPECT_EQ(moved.port, 80);
    EXPECT_EQ(moved.target, "/q");
    EXPECT_EQ(resolveLocation(request, "//third:9000").target, "/");
    EXPECT_EQ(resolveLocation(request, "//third:9000").port, 9000);
    EXPECT_THROW(resolveLocation(request, "ftp://x/y"), TransportFailure);
}

}  // namespace
}  // namespace qor::gateway
