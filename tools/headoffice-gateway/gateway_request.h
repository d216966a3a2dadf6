#pragma once
// A store's request as the gateway has read it whole: what the account check, the form
// reader and the log need, without the HTTP library that read it.
#include <string>

namespace qor::headoffice {

struct GatewayRequest {
    std::string target;       // the request target as sent: path and query string
    std::string contentType;  // the Content-Type header's value, "" when there is none
    std::string body;
};

}  // namespace qor::headoffice
