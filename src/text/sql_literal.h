#pragma once
#include <string>
#include <initializer_list>
#include <string_view>

namespace qor::text {

// The value between single quotes, every single quote inside it doubled, so typed text can
// neither end the literal nor change the statement.
std::string sqlLiteral(std::string_view value);

// Statement text as a line list: each line followed by CR LF.
std::string joinLines(std::initializer_list<std::string_view> lines);

}  // namespace qor::text
