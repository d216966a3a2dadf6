#pragma once
// The statement as the gateway receives it.
#include <string>
#include <string_view>

namespace qor::gateway {

// Letters a to z in capitals (both bytes of a double-byte character stay as they are, so
// Chinese text inside a literal still matches), then every CR LF pair as one blank; a lone
// CR or LF stays.
std::string gatewayStatement(std::string_view statement);

}  // namespace qor::gateway
