#include "connection_options.h"

#include <cctype>
#include <cstdlib>

namespace qor::fbdriver {
namespace {

std::string trimmed(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A whole decimal number, or `fallback`.
long wholeNumber(const std::string& text, long fallback) {
    std::string t = trimmed(text);
    if (t.empty()) return fallback;
    char* end = nullptr;
    long value = std::strtol(t.c_str(), &end, 10);
    return *end == '\0' ? value : fallback;
}

}  // namespace

bool optionIsOn(const std::string& value) { return lower(trimmed(value)) == "true"; }

Isolation isolationFromText(const std::string& value) {
    std::string v = lower(trimmed(value));
    if (v == "repeatableread") return Isolation::RepeatableRead;
    if (v == "dirtyread") return Isolation::DirtyRead;
    return Isolation::ReadCommitted;
}

void ConnectionOptions::set(const std::string& key, const std::string& value) {
    std::string k = lower(trimmed(key));
    if (k == "rolename") {
        roleName = trimmed(value);
    } else if (k == "servercharset") {
        serverCharSet = trimmed(value);
    } else if (k == "sqldialect") {
        long d = wholeNumber(value, 3);
        dialect = (d >= 1 && d <= 3) ? static_cast<int>(d) : 3;
    } else if (endsWith(k, " transisolation")) {
        // The key is the driver's name followed by " TransIsolation".
        isolation = isolationFromText(value);
    } else if (k == "waitonlocks") {
        waitOnLocks = optionIsOn(value);
    } else if (k == "trim char") {
        trimChar = optionIsOn(value);
    } else if (k == "commitretain") {
        commitRetain = optionIsOn(value);
    } else if (k == "blobsize") {
        // Kilobytes; -1 (or anything negative or not a number) fetches whole values.
        long kb = wholeNumber(value, -1);
        blobLimit = kb < 0 ? -1 : kb * 1024;
    }
}

}  // namespace qor::fbdriver
