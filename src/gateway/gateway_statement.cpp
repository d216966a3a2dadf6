#include "gateway/gateway_statement.h"

#include "text/cp950.h"

namespace qor::gateway {

std::string gatewayStatement(std::string_view statement) {
    const std::string upper = text::upperAscii(statement);
    std::string oneLine;
    oneLine.reserve(upper.size());
    for (std::size_t i = 0; i < upper.size(); ++i) {
        if (upper[i] == '\r' && i + 1 < upper.size() && upper[i + 1] == '\n') {
            oneLine += ' ';
            ++i;
        } else {
            oneLine += upper[i];
        }
    }
    return oneLine;
}

}  // namespace qor::gateway
