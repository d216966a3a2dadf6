#pragma once
// The two kinds of reply body a store gets: a data packet, or an error text the store shows
// to its user as it is.
#include <string>
#include <string_view>

#include "dataset/value.h"

namespace qor::headoffice {

// The content type of every reply. Its parameter keeps HTTP libraries from compressing the
// body on their own: stores read the body byte for byte.
inline constexpr const char* kReplyContentType = "application/xml; charset=big5";

// "<RESULT>" + message + "</RESULT>"; the message goes as it is, since the store shows the
// whole body as text.
std::string resultReply(std::string_view message);

// The table as a data packet.
std::string packetReply(const ds::Table& table);

}  // namespace qor::headoffice
