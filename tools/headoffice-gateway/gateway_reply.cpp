#include "gateway_reply.h"

#include "dataset/packet.h"

namespace qor::headoffice {

std::string resultReply(std::string_view message) {
    std::string body;
    body.reserve(message.size() + 17);
    body += "<RESULT>";
    body += message;
    body += "</RESULT>";
    return body;
}

std::string packetReply(const ds::Table& table) { return ds::writePacket(table); }

}  // namespace qor::headoffice
