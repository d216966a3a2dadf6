#pragma once
// Code page 950 (Big5) byte helpers. Text is held as CP950 bytes everywhere; Unicode only
// at the screen and the terminal.
#include <string>
#include <string_view>

namespace qor::text {

// First byte of a double-byte character (0x81 to 0xFE).
inline bool isLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The first `size` bytes of `s`; a lead byte that would stand alone at the end is dropped
// with its character, so the result never ends in half a character.
std::string cutToBytes(std::string_view s, std::size_t size);

// a-z become A-Z; bytes inside double-byte characters stay as they are.
std::string upperAscii(std::string_view s);

// Conversions for source literals and for the terminal. Characters that the target cannot
// hold become "?".
std::string utf8ToCp950(std::string_view utf8);
std::string cp950ToUtf8(std::string_view cp950);

// CP950 bytes of one Unicode code point; empty when code page 950 has no such character.
std::string codePointToCp950(char32_t cp);

// A Chinese literal written in UTF-8 in the source, as CP950 bytes. Converted once per call
// site: use for captions and messages.
#define QOR_BIG5(utf8literal)                                                  \
    ([]() -> const std::string& {                                              \
        static const std::string converted = ::qor::text::utf8ToCp950(utf8literal); \
        return converted;                                                      \
    }())

}  // namespace qor::text
