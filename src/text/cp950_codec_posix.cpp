#include "text/cp950_codec.h"

#include <iconv.h>

#include <cerrno>

namespace qor::text::codec {

namespace {

std::string convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    out.reserve(in.size() * 2 + 4);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[1024];
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, dst);
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // Unconvertible or broken input: one "?" for the offending byte, then go on.
            out.push_back('?');
            ++src;
            --srcLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string utf8CharToCp950(std::string_view oneCharacter) {
    std::string piece = convert("CP950", "UTF-8", oneCharacter);
    if (piece.find('?') != std::string::npos && oneCharacter != "?") piece = "?";
    return piece;
}

std::string cp950ToUtf8(std::string_view cp950) { return convert("UTF-8", "CP950", cp950); }

}  // namespace qor::text::codec
