#pragma once
// The system's code page 950 converter, behind cp950.h: glibc's iconv ("CP950") on POSIX,
// MultiByteToWideChar / WideCharToMultiByte with code page 950 on Windows.
#include <string>
#include <string_view>

namespace qor::text::codec {

// One character's UTF-8 bytes as CP950 bytes; "?" when code page 950 has no such character
// or the bytes are no character.
std::string utf8CharToCp950(std::string_view oneCharacter);

// CP950 bytes as UTF-8; one "?" for each byte that begins no character, and the conversion
// goes on after it.
std::string cp950ToUtf8(std::string_view cp950);

}  // namespace qor::text::codec
