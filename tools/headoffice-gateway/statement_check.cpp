#include "statement_check.h"

namespace qor::headoffice {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool isWordByte(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
           u == '_' || u == '$' || u >= 0x80;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool startsWithSelect(std::string_view s) {
    static constexpr std::string_view word = "SELECT";
    if (s.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = s[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
        if (c != word[i]) return false;
    }
    return s.size() == word.size() || !isWordByte(s[word.size()]);
}

// Position of the first ";" outside quotes and comments, or npos.
std::size_t firstSeparator(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '\'' || c == '"') {
            std::size_t close = s.find(c, i + 1);  // a doubled quote reads as close + open
            if (close == std::string_view::npos) return std::string_view::npos;
            i = close;
        } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            std::size_t end = s.find('\n', i + 2);
            if (end == std::string_view::npos) return std::string_view::npos;
            i = end;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            std::size_t end = s.find("*/", i + 2);
            if (end == std::string_view::npos) return std::string_view::npos;
            i = end + 1;
        } else if (c == ';') {
            return i;
        }
    }
    return std::string_view::npos;
}

CheckedStatement refused(std::string reason) {
    CheckedStatement result;
    result.refusal = std::move(reason);
    return result;
}

}  // namespace

CheckedStatement checkStatement(std::string_view sql) {
    std::string_view text = trimmed(sql);
    if (text.empty()) return refused("The statement is empty");
    if (!startsWithSelect(text)) return refused("Only a SELECT statement is accepted");

    std::size_t separator = firstSeparator(text);
    if (separator != std::string_view::npos) {
        if (!trimmed(text.substr(separator + 1)).empty())
            return refused("Only one statement is accepted");
        text = trimmed(text.substr(0, separator));
    }

    CheckedStatement result;
    result.accepted = true;
    result.statement = std::string(text);
    return result;
}

}  // namespace qor::headoffice
