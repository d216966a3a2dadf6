#include "statement_check.h"

#include "text/ascii.h"

namespace qor::headoffice {
namespace {

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
    std::string_view statement = text::trimmedView(sql);
    if (statement.empty()) return refused("The statement is empty");
    if (!text::startsWithWord(statement, "SELECT"))
        return refused("Only a SELECT statement is accepted");

    std::size_t separator = firstSeparator(statement);
    if (separator != std::string_view::npos) {
        if (!text::trimmedView(statement.substr(separator + 1)).empty())
            return refused("Only one statement is accepted");
        statement = text::trimmedView(statement.substr(0, separator));
    }

    CheckedStatement result;
    result.accepted = true;
    result.statement = std::string(statement);
    return result;
}

}  // namespace qor::headoffice
