#include "status.h"

#include "storedb/dbx_driver.h"
#include "text/system_text.h"

namespace qor::fbdriver {

std::string statusText(const ClientApi& api, const Status& status) {
    // Lines that carry the system's own reason (a file that cannot be opened) are worded in
    // the C locale, as the rest of the message is.
    std::string text = text::inCLocale([&] {
        std::string lines;
        const ISC_STATUS* cursor = status.get();
        char line[1024];
        while (api.interpret(line, sizeof line, &cursor) > 0) {
            if (!lines.empty()) lines += '\n';
            lines += line;
        }
        return lines;
    });
    if (text.empty()) text = "Firebird error " + std::to_string(status.code());
    return text;
}

std::string sqlState(const ClientApi& api, const Status& status) {
    char state[FB_SQLSTATE_SIZE] = {};
    api.sqlstate(state, status.get());
    return state;
}

void check(const ClientApi& api, const Status& status) {
    if (status.failed())
        throw dbx::DatabaseError(statusText(api, status),
                                 DatabaseCodes(status.code(), sqlState(api, status)));
}

}  // namespace qor::fbdriver
