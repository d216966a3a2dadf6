#include "request_router.h"

#include <array>

#include "gateway_reply.h"
#include "reply_head.h"
#include "request_fields.h"
#include "statement_check.h"
#include "text/ascii.h"

namespace qor::headoffice {
namespace {

constexpr const char* kBadAccount = "Invalid user name or password";
constexpr const char* kNoStatement = "Missing field 'sql'";

// The path of a target, percent-decoded; unlike a form value, "+" stays "+".
std::string decodedPath(std::string_view target) {
    const std::string_view raw = target.substr(0, target.find('?'));
    std::string path;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '%' && i + 2 < raw.size() &&
            text::hexDigitValue(raw[i + 1]) >= 0 && text::hexDigitValue(raw[i + 2]) >= 0) {
            path += static_cast<char>(text::hexDigitValue(raw[i + 1]) * 16 +
                                      text::hexDigitValue(raw[i + 2]));
            i += 2;
        } else {
            path += raw[i];
        }
    }
    return path;
}

// "/oVat/" + a segment without "/" + "/index.php".
bool isQueryPath(std::string_view target) {
    const std::string path = decodedPath(target);
    constexpr std::string_view kHead = "/oVat/", kTail = "/index.php";
    if (!path.starts_with(kHead) || !path.ends_with(kTail)) return false;
    if (path.size() <= kHead.size() + kTail.size()) return false;
    const std::string_view driver =
        std::string_view(path).substr(kHead.size(), path.size() - kHead.size() - kTail.size());
    return driver.find('/') == std::string_view::npos;
}

bool knownMethod(std::string_view method) {
    constexpr std::array<std::string_view, 9> kMethods = {
        "GET", "HEAD", "POST", "PUT", "DELETE", "CONNECT", "OPTIONS", "TRACE", "PATCH"};
    for (std::string_view known : kMethods)
        if (method == known) return true;
    return false;
}

RoutedRequest answered(int status, bool toHead = false) {
    RoutedRequest routed;
    routed.status = status;
    routed.reply = emptyReply(status, toHead);
    return routed;
}

RoutedRequest refused(std::string message) {
    RoutedRequest routed;
    const std::string body = resultReply(message);
    routed.reply = wholeReplyHead(body.size()) + body;
    routed.error = std::move(message);
    return routed;
}

}  // namespace

RoutedRequest routeRequest(std::string_view method, const GatewayRequest& request,
                           const Account& account) {
    if (!knownMethod(method)) return answered(400);
    if (method != "POST" || !isQueryPath(request.target)) return answered(404, method == "HEAD");
    const std::optional<std::vector<FormPart>> form = readForm(request);
    if (!form) return answered(400);
    if (!accountMatches(request.target, *form, account)) return refused(kBadAccount);
    const std::optional<std::string> sql = formField(*form, "sql");
    if (!sql) return refused(kNoStatement);
    CheckedStatement checked = checkStatement(*sql);
    if (!checked.accepted) return refused(std::move(checked.refusal));
    RoutedRequest routed;
    routed.statement = std::move(checked.statement);
    return routed;
}

}  // namespace qor::headoffice
