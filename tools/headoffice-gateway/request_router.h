#pragma once
// What the gateway does with a request read whole, decided on its network thread before any
// worker is involved: run a statement, or answer at once (not found, a malformed form, the
// wrong account, no or a refused statement).
#include <optional>
#include <string>
#include <string_view>

#include "account_check.h"
#include "gateway_request.h"

namespace qor::headoffice {

struct RoutedRequest {
    // Set: the checked statement to run on a worker.
    std::optional<std::string> statement;
    // Otherwise the reply to send at once: its whole bytes, and for the log its status and
    // the "<RESULT>" message.
    std::string reply;
    int status = 200;
    std::string error;
};

// `method` as sent ("POST"). POST "/oVat/<driver>/index.php" for any driver segment is
// served: 400 when its multipart form is malformed, else "<RESULT>Invalid user name or
// password</RESULT>", "<RESULT>Missing field 'sql'</RESULT>", "<RESULT>" and the statement
// check's refusal, or the statement. Any other path or method gets 404 Not Found, a method
// HTTP does not know 400 Bad Request.
RoutedRequest routeRequest(std::string_view method, const GatewayRequest& request,
                           const Account& account);

}  // namespace qor::headoffice
