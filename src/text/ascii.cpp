#include "text/ascii.h"

#include "text/cp950.h"

namespace qor::text {

namespace {

constexpr char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c; }

bool isLead(char c) { return isLeadByte(static_cast<unsigned char>(c)); }

bool isWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || isDigit(c) || c == '_' ||
           c == '$' || u >= 0x80;
}

// `text` begins with `part`, letter case aside, walking whole characters.
bool beginsWithNoCase(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return false;
    for (std::size_t i = 0; i < part.size(); ++i) {
        if (isLead(text[i]) && i + 1 < text.size()) {
            if (i + 1 >= part.size() || text[i] != part[i] || text[i + 1] != part[i + 1])
                return false;
            ++i;
        } else if (upper(text[i]) != upper(part[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && beginsWithNoCase(a, b);
}

bool containsNoCase(std::string_view text, std::string_view part) {
    for (std::size_t i = 0; i + part.size() <= text.size(); i += isLead(text[i]) ? 2 : 1)
        if (beginsWithNoCase(text.substr(i), part)) return true;
    return false;
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (isLead(out[i])) ++i;  // the trail byte belongs to the character
        else if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] + 0x20);
    }
    return out;
}

bool startsWithWord(std::string_view text, std::string_view word) {
    if (!beginsWithNoCase(text, word)) return false;
    return text.size() == word.size() || !isWordByte(text[word.size()]);
}

std::string_view trimmedView(std::string_view s, std::string_view blanks) {
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool isOn(std::string_view value) { return equalsNoCase(trimmedView(value), "TRUE"); }

}  // namespace qor::text
