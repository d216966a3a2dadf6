#include "gateway/http_poster.h"

#include <algorithm>

#include "gateway/http_address.h"
#include "gateway/http_reply.h"
#include "gateway/multipart_request.h"
#include "gateway/reply_reader.h"
#include "gateway/transport_failure.h"
#include "text/ascii.h"

namespace qor::gateway {

namespace {

constexpr std::chrono::milliseconds kRedirectDrain{4000};
constexpr std::chrono::milliseconds kFailureDrain{2000};

// Reads and drops a body we do not use, waiting no longer than `most` in all.
void drainBody(ReplyReader& reader, const ReplyHead& head, std::chrono::milliseconds most) {
    reader.stopWaitingAt(ReplyReader::Clock::now() + most);
    try {
        readReplyBody(reader, head);
    } catch (const TransportFailure&) {
        // what was not read by then does not matter
    }
}

}  // namespace

HttpPoster::HttpPoster(std::chrono::milliseconds limit, TlsTrust trust)
    : limit_(limit), trust_(std::move(trust)) {}

std::string HttpPoster::post(const std::string& address, const std::string& boundary,
                             const std::string& body, BodyWatcher* watcher,
                             std::function<void()> whileWaiting) {
    connection_.close();  // a kept-alive connection never serves a second call
    // The hook belongs to this call: a connection kept alive after it must not hold it.
    struct WaitHookScope {
        SocketConnection& connection;
        ~WaitHookScope() { connection.whileWaiting({}); }
    } hookScope{connection_};
    connection_.whileWaiting(std::move(whileWaiting));
    try {
        return exchange(address, boundary, body, watcher);
    } catch (...) {
        connection_.close();
        throw;
    }
}

std::string HttpPoster::exchange(const std::string& address, const std::string& boundary,
                                 const std::string& body, BodyWatcher* watcher) {
    HttpAddress url = parseHttpAddress(address);
    for (int sent = 1;; ++sent) {
        connection_.connect(url.host, url.port, limit_, url.tls ? &trust_ : nullptr);
        connection_.write(requestHead(url, boundary, body.size(),
                                      cookies_.cookieHeader(url.host, url.target)) + body,
                          limit_);

        ReplyReader reader(connection_, limit_);
        ReplyHead head;
        do {
            head = readReplyHead(reader);
            // Cookies count from every reply: interim, redirects and failures too.
            for (const auto& [name, value] : head.headers) {
                if (text::equalsNoCase(name, "Set-Cookie"))
                    cookies_.storeSetCookie(url.host, url.target, value);
                else if (text::equalsNoCase(name, "Set-Cookie2"))
                    cookies_.storeSetCookie2(url.host, url.target, value);
            }
        } while (head.status == 100);

        const std::string* location = head.header("Location");
        const bool hasLocation = location && !location->empty();
        if (hasLocation || (head.status >= 300 && head.status <= 399 && head.status != 304)) {
            drainBody(reader, head, std::min(kRedirectDrain, limit_));
            connection_.close();
            // A redirect that names no place to go, or none a request line can carry, cannot
            // be followed.
            if (!hasLocation || !isFollowableLocation(*location))
                throw TransportFailure(head.statusLine);
            if (sent >= kMaxRequestsPerCall) return {};
            const HttpAddress next = resolveLocation(url, *location);
            // The account rides in every request: once inside TLS, never out of it again.
            if (url.tls && !next.tls)
                throw TransportFailure("Redirect from https to http refused: " + *location);
            url = next;
            continue;
        }
        if (head.status >= 200 && head.status <= 299) {
            std::string answer = readReplyBody(reader, head, watcher);
            if (!head.hasHeaderContaining("Connection", "keep-alive")) connection_.close();
            return answer;
        }
        drainBody(reader, head, std::min(kFailureDrain, limit_));
        connection_.close();
        throw TransportFailure(head.statusLine);
    }
}

}  // namespace qor::gateway
