// Replies of the gateway read from bytes as the client reads them from its connection: status
// lines, headers, interim replies, cookies, redirects, and bodies framed by length, by chunks
// or by the close. The first byte sets how many bytes each read hands over (1 to 255, or all
// that is left when it is 0), so lines and chunks also arrive split at every place. The rest
// is what the gateway sends; a redirect's next reply follows in the same bytes.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "gateway/cookie_store.h"
#include "gateway/http_address.h"
#include "gateway/http_poster.h"
#include "gateway/http_reply.h"
#include "gateway/multipart_request.h"
#include "gateway/reply_reader.h"
#include "gateway/transport_failure.h"
#include "property_check.h"
#include "text/ascii.h"

namespace {

using namespace qor::gateway;

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

void expectHeadIsSound(const ReplyHead& head) {
    QOR_FUZZ_EXPECT(head.statusLine.size() <= kMaxHeaderLine);
    QOR_FUZZ_EXPECT(head.statusLine.find('\n') == std::string::npos);
    QOR_FUZZ_EXPECT(head.status == statusCodeOf(head.statusLine));
    for (const auto& [name, value] : head.headers) {
        QOR_FUZZ_EXPECT(name.size() + value.size() < kMaxHeaderLine);
        QOR_FUZZ_EXPECT(name.find(':') == std::string::npos);
    }
}

void storeCookies(CookieStore& cookies, const HttpAddress& url, const ReplyHead& head) {
    for (const auto& [name, value] : head.headers) {
        if (qor::text::equalsNoCase(name, "Set-Cookie"))
            cookies.storeSetCookie(url.host, url.target, value);
        else if (qor::text::equalsNoCase(name, "Set-Cookie2"))
            cookies.storeSetCookie2(url.host, url.target, value);
    }
}

// The next request's head: cookies travel inside one header line, the target in the first.
void expectRequestIsSound(const HttpAddress& url, const CookieStore& cookies) {
    QOR_FUZZ_EXPECT(url.target.starts_with('/'));
    QOR_FUZZ_EXPECT(url.port != 0);
    const std::string cookieHeader = cookies.cookieHeader(url.host, url.target);
    QOR_FUZZ_EXPECT(!hasLineBreak(cookieHeader));
    const std::string head = requestHead(url, "--------123456789012345", 10, cookieHeader);
    QOR_FUZZ_EXPECT(head.ends_with("\r\n\r\n"));
    const std::string_view requestLine(head.data(), head.find("\r\n"));
    QOR_FUZZ_EXPECT(requestLine.starts_with("POST ") && requestLine.ends_with(" HTTP/1.0"));
    // Every line of the head, the request line included, ends only at its CR LF.
    std::string_view rest(head);
    rest.remove_suffix(2);
    while (!rest.empty()) {
        const std::size_t end = rest.find("\r\n");
        QOR_FUZZ_EXPECT(end != std::string_view::npos && !hasLineBreak(rest.substr(0, end)));
        rest.remove_prefix(end + 2);
    }
}

// One call: replies until an answer, a failure, or the last redirect.
void readCall(ReplyReader& reader) {
    HttpAddress url =
        parseHttpAddress("http://127.0.0.1:8080/oVat/ado/index.php?user_name=A&password=B");
    CookieStore cookies;
    for (int sent = 1;; ++sent) {
        expectRequestIsSound(url, cookies);
        ReplyHead head;
        do {
            head = readReplyHead(reader);
            expectHeadIsSound(head);
            storeCookies(cookies, url, head);
        } while (head.status == 100);

        const std::string* location = head.header("Location");
        const bool hasLocation = location && !location->empty();
        if (hasLocation || (head.status >= 300 && head.status <= 399 && head.status != 304)) {
            try {
                readReplyBody(reader, head);
            } catch (const TransportFailure&) {
            }
            if (!hasLocation || !isFollowableLocation(*location)) return;
            if (sent >= kMaxRequestsPerCall) return;
            url = resolveLocation(url, *location);
            continue;
        }
        const std::string body = readReplyBody(reader, head);
        const std::string* length = head.header("Content-Length");
        const auto n = length ? qor::text::parseWholeNumber<long long>(*length) : std::nullopt;
        if (n && *n > 0) QOR_FUZZ_EXPECT(body.size() <= static_cast<unsigned long long>(*n));
        return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = data[0] == 0 ? size : data[0];
    std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);
    ReplyReader reader(
        [&](char* buffer, std::size_t room, std::chrono::milliseconds) {
            const std::size_t n = std::min({room, piece, stream.size()});
            std::memcpy(buffer, stream.data(), n);
            stream.remove_prefix(n);
            return n;
        },
        std::chrono::milliseconds(300000));
    try {
        readCall(reader);
    } catch (const TransportFailure&) {
        // the failures the client shows: over-long lines, early closes, bad chunks, bad places
    }
    return 0;
}
