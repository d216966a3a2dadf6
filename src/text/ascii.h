#pragma once
// ASCII rules on code page 950 byte text: letter case, blanks, on/off values, digits and whole
// numbers. Every module takes these from here. Bytes of a double-byte character are never
// changed and never matched by case: a trail byte may look like an ASCII letter.
#include <charconv>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace qor::text {

// ---- letter case

// Equal when only the case of ASCII letters differs; double-byte characters match exactly.
bool equalsNoCase(std::string_view a, std::string_view b);
// `part` stands in `text` at the start of a character, the case of ASCII letters aside.
bool containsNoCase(std::string_view text, std::string_view part);
// A-Z become a-z; bytes inside double-byte characters stay as they are (upperAscii, the
// other way, is in cp950.h).
std::string lowerAscii(std::string_view s);
// `text` begins with `word` (the case of ASCII letters aside) and no word byte follows it:
// letters, digits, "_", "$" and double-byte characters continue a word.
bool startsWithWord(std::string_view text, std::string_view word);

// ---- blanks

// Space, tab, CR, LF, form feed and vertical tab.
inline constexpr std::string_view kBlanks = " \t\r\n\f\v";
constexpr bool isBlank(char c) { return kBlanks.find(c) != std::string_view::npos; }
// `s` without the leading and trailing bytes that are in `blanks`.
std::string_view trimmedView(std::string_view s, std::string_view blanks = kBlanks);
inline std::string trimBlanks(std::string_view s) { return std::string(trimmedView(s)); }

// ---- on/off values

// On exactly when the value, without surrounding blanks, is "TRUE" in any letter case.
bool isOn(std::string_view value);

// ---- digits and whole numbers

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
// The value of a hexadecimal digit (either case), or -1.
constexpr int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// An optional sign ("+" or "-") and digits of `base`, and nothing else: no blanks, no "0x".
// nullopt for any other text and for a number outside the range of `Int`.
template <std::integral Int = std::int64_t>
std::optional<Int> parseWholeNumber(std::string_view text, int base = 10) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);  // from_chars takes "-" only
    if (text.empty() || text.front() == '+') return std::nullopt;
    Int value{};
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(text.data(), last, value, base);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

}  // namespace qor::text
