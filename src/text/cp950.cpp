#include "cp950.h"

#include "text/cp950_codec.h"

namespace qor::text {

std::string cutToBytes(std::string_view s, std::size_t size) {
    if (s.size() <= size) return std::string(s);
    // Walk whole characters so a trail byte that looks like a lead byte is not misread.
    std::size_t i = 0;
    while (i < size) {
        std::size_t width = isLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
        if (i + width > size) break;
        i += width;
    }
    return std::string(s.substr(0, i));
}

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (isLeadByte(c) && i + 1 < out.size()) {
            ++i;  // the trail byte belongs to the character
            continue;
        }
        if (c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 0x20);
    }
    return out;
}

std::string utf8ToCp950(std::string_view utf8) {
    // A multi-byte UTF-8 sequence that cannot be mapped is skipped whole by the loop below.
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        if (i + len > utf8.size()) len = utf8.size() - i;
        std::string_view one = utf8.substr(i, len);
        if (len == 1 && c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out += codec::utf8CharToCp950(one);
        }
        i += len;
    }
    return out;
}

std::string cp950ToUtf8(std::string_view cp950) { return codec::cp950ToUtf8(cp950); }

std::string codePointToCp950(char32_t cp) {
    char utf8[4];
    std::size_t n;
    if (cp < 0x80) {
        return std::string(1, static_cast<char>(cp));
    } else if (cp < 0x800) {
        utf8[0] = static_cast<char>(0xC0 | (cp >> 6));
        utf8[1] = static_cast<char>(0x80 | (cp & 0x3F));
        n = 2;
    } else if (cp < 0x10000) {
        if (cp >= 0xD800 && cp <= 0xDFFF) return {};
        utf8[0] = static_cast<char>(0xE0 | (cp >> 12));
        utf8[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        utf8[2] = static_cast<char>(0x80 | (cp & 0x3F));
        n = 3;
    } else if (cp < 0x110000) {
        utf8[0] = static_cast<char>(0xF0 | (cp >> 18));
        utf8[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        utf8[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        utf8[3] = static_cast<char>(0x80 | (cp & 0x3F));
        n = 4;
    } else {
        return {};
    }
    std::string out = utf8ToCp950(std::string_view(utf8, n));
    return out == "?" ? std::string() : out;
}

}  // namespace qor::text
