#pragma once
// The program's built-in account: what the gateway client sends and the store connections
// log in with until a settings file names another, and what qor-gateway accepts by default.
#include <string_view>

namespace qor::text {

inline constexpr std::string_view kBuiltinUserName = "SYSDBA";
inline constexpr std::string_view kBuiltinPassword = "quillbarn";

}  // namespace qor::text
