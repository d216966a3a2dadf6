#include "text/cp950_codec.h"

#include <windows.h>

namespace qor::text::codec {

namespace {

constexpr UINT kBig5 = 950;

std::wstring wideFrom(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length =
        ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length);
    return wide;
}

std::string utf8From(std::wstring_view wide) {
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

}  // namespace

std::string utf8CharToCp950(std::string_view oneCharacter) {
    const std::wstring wide = wideFrom(CP_UTF8, oneCharacter);
    if (wide.empty()) return "?";
    // No best fit: a character code page 950 lacks becomes "?", not a look-alike.
    BOOL usedDefault = FALSE;
    const int size = static_cast<int>(wide.size());
    char out[8];
    const int length = ::WideCharToMultiByte(kBig5, WC_NO_BEST_FIT_CHARS, wide.data(), size, out,
                                             sizeof out, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return "?";
    return std::string(out, static_cast<std::size_t>(length));
}

std::string cp950ToUtf8(std::string_view cp950) {
    std::string out;
    out.reserve(cp950.size() * 2);
    std::size_t i = 0;
    while (i < cp950.size()) {
        const unsigned char c = static_cast<unsigned char>(cp950[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        // A whole double-byte character when the pair is one, else the byte on its own.
        std::wstring wide;
        std::size_t width = 1;
        if (c >= 0x81 && c <= 0xFE && i + 1 < cp950.size()) {
            wide = wideFrom(kBig5, cp950.substr(i, 2));
            width = 2;
        }
        if (wide.empty()) {
            wide = wideFrom(kBig5, cp950.substr(i, 1));
            width = 1;
        }
        if (wide.empty()) out.push_back('?');
        else out += utf8From(wide);
        i += width;
    }
    return out;
}

}  // namespace qor::text::codec
