#include "gateway_reply.h"

namespace qor::headoffice {

std::string resultReply(std::string_view message) {
    std::string body;
    body.reserve(message.size() + 17);
    body += "<RESULT>";
    body += message;
    body += "</RESULT>";
    return body;
}

}  // namespace qor::headoffice
