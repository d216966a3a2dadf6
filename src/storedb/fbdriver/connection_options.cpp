#include "connection_options.h"

#include "text/ascii.h"

namespace qor::fbdriver {
namespace {

// A whole decimal number, blanks around it allowed, or `fallback`.
long numberOr(const std::string& text, long fallback) {
    return text::parseWholeNumber<long>(text::trimmedView(text)).value_or(fallback);
}

}  // namespace

Isolation isolationFromText(const std::string& value) {
    const std::string_view v = text::trimmedView(value);
    if (text::equalsNoCase(v, "repeatableread")) return Isolation::RepeatableRead;
    if (text::equalsNoCase(v, "dirtyread")) return Isolation::DirtyRead;
    return Isolation::ReadCommitted;
}

void ConnectionOptions::set(const std::string& key, const std::string& value) {
    using text::isOn;
    const std::string k = text::lowerAscii(text::trimmedView(key));
    if (k == "rolename") {
        roleName = text::trimBlanks(value);
    } else if (k == "servercharset") {
        serverCharSet = text::trimBlanks(value);
    } else if (k == "sqldialect") {
        long d = numberOr(value, 3);
        dialect = (d >= 1 && d <= 3) ? static_cast<int>(d) : 3;
    } else if (k.ends_with(" transisolation")) {
        // The key is the driver's name followed by " TransIsolation".
        isolation = isolationFromText(value);
    } else if (k == "waitonlocks") {
        waitOnLocks = isOn(value);
    } else if (k == "trim char") {
        trimChar = isOn(value);
    } else if (k == "commitretain") {
        commitRetain = isOn(value);
    } else if (k == "blobsize") {
        // Kilobytes; -1 (or anything negative or not a number) fetches whole values.
        long kb = numberOr(value, -1);
        blobLimit = kb < 0 ? -1 : kb * 1024;
    }
}

}  // namespace qor::fbdriver
