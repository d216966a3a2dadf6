#include "errors.h"

namespace qor {

namespace {
// Replaces the first "%s" at or after `from`; returns the position after the inserted text.
std::size_t fill(std::string& s, std::size_t from, std::string_view arg) {
    auto at = s.find("%s", from);
    if (at == std::string::npos) return s.size();
    s.replace(at, 2, arg);
    return at + arg.size();
}
}  // namespace

std::string format(std::string_view pattern, std::string_view arg) {
    std::string s(pattern);
    fill(s, 0, arg);
    return s;
}

std::string format(std::string_view pattern, std::string_view a, std::string_view b,
                   std::string_view c) {
    std::string s(pattern);
    auto at = fill(s, 0, a);
    at = fill(s, at, b);
    fill(s, at, c);
    return s;
}

}  // namespace qor
