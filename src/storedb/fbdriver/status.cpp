#include "status.h"

#include <stdexcept>

namespace qor::fbdriver {

std::string statusText(const ClientApi& api, const Status& status) {
    std::string text;
    const ISC_STATUS* cursor = status.get();
    char line[1024];
    while (api.interpret(line, sizeof line, &cursor) > 0) {
        if (!text.empty()) text += '\n';
        text += line;
    }
    if (text.empty()) text = "Firebird error " + std::to_string(status.code());
    return text;
}

void check(const ClientApi& api, const Status& status) {
    if (status.failed()) throw std::runtime_error(statusText(api, status));
}

}  // namespace qor::fbdriver
