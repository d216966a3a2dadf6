// Requests to the head-office gateway, as bytes on its connection: Beast's request parser
// takes them apart under the running gateway's limits, and every request read whole then
// meets the gateway's own readers: the path, the form, the account in the query string and
// the form, the form's "sql" field, and the one-SELECT check. The bytes also go to the
// query-string reader as a request target.
#include <boost/beast/http.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "property_check.h"
#include "request_fields.h"
#include "request_router.h"
#include "statement_check.h"

namespace {

using namespace qor::headoffice;
namespace http = boost::beast::http;

void checkQueryValues(std::string_view target, std::string_view name) {
    for (const QueryValue& v : queryValues(target, name)) {
        QOR_FUZZ_EXPECT(v.decoded == percentDecoded(v.raw));
        QOR_FUZZ_EXPECT(v.decoded.size() <= v.raw.size());
        QOR_FUZZ_EXPECT(target.find(v.raw) != std::string_view::npos);
    }
}

void answer(std::string_view method, const GatewayRequest& request) {
    checkQueryValues(request.target, "user_name");
    checkQueryValues(request.target, "password");
    const RoutedRequest routed = routeRequest(method, request, Account{"SYSDBA", "quillbarn"});
    if (routed.statement) {
        QOR_FUZZ_EXPECT(checkStatement(*routed.statement).accepted);
    } else {
        QOR_FUZZ_EXPECT(routed.reply.starts_with("HTTP/1.1 "));
        QOR_FUZZ_EXPECT((routed.status == 200) == !routed.error.empty());
    }
    if (auto form = readForm(request)) {
        if (auto sql = formField(*form, "sql")) {
            const CheckedStatement checked = checkStatement(*sql);
            QOR_FUZZ_EXPECT(checked.accepted != !checked.refusal.empty());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    http::request_parser<http::string_body> parser;
    parser.header_limit(64 * 1024);
    parser.body_limit(16 * 1024 * 1024);
    parser.eager(true);
    boost::beast::error_code ec;
    std::string_view rest = bytes;
    while (!rest.empty() && !parser.is_done()) {
        const std::size_t used = parser.put(boost::asio::buffer(rest.data(), rest.size()), ec);
        if (ec == http::error::need_more) break;
        if (ec) break;
        if (used == 0) break;
        rest.remove_prefix(used);
    }
    if (!ec && !parser.is_done()) parser.put_eof(ec);
    if (!ec && parser.is_done()) {
        auto& message = parser.get();
        GatewayRequest request;
        request.target = std::string(message.target());
        request.contentType = std::string(message[http::field::content_type]);
        request.body = message.body();
        answer(std::string(message.method_string()), request);
    }
    checkQueryValues(bytes, "user_name");
    checkQueryValues(bytes, "sql");
    return 0;
}
