#pragma once
// The reply a store gets when there are no rows to send: an error text it shows to its user
// as it is. (Packets are written by PacketStream.)
#include <string>
#include <string_view>


namespace qor::headoffice {

// The content type of every reply. Its parameter keeps HTTP libraries from compressing the
// body on their own: stores read the body byte for byte.
inline constexpr const char* kReplyContentType = "application/xml; charset=big5";

// "<RESULT>" + message + "</RESULT>"; the message goes as it is, since the store shows the
// whole body as text.
std::string resultReply(std::string_view message);

}  // namespace qor::headoffice
