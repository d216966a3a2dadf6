#include "sql_literal.h"

namespace qor::text {

std::string sqlLiteral(std::string_view value) {
    std::string out;
    out.reserve(value.size() + 2);
    out.push_back('\'');
    for (char c : value) {
        out.push_back(c);
        if (c == '\'') out.push_back('\'');
    }
    out.push_back('\'');
    return out;
}

std::string joinLines(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (auto line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace qor::text
