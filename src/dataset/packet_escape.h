#pragma once
// Character references in packet attribute values. Values are code page 950 bytes; a Big5
// trail byte is never one of the XML special characters, so escaping works byte by byte.
#include <string>
#include <string_view>

namespace qor::ds::packet {

// Appends `bytes` with the five XML escapes and a numeric reference for every byte below 0x20.
void appendEscaped(std::string& out, std::string_view bytes);

// Resolves the references in a raw attribute value into `out` (replaced, not appended).
// A numeric reference above 127 becomes the character's code page 950 bytes. False when a
// reference is malformed, unknown, or names a character that code page 950 cannot hold.
bool unescape(std::string_view raw, std::string& out);

}  // namespace qor::ds::packet
