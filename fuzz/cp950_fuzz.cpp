// The code page 950 text functions on any bytes. The first byte picks a cut size and the
// next four a code point; all of the input is also the text. Properties: a cut is a prefix
// that never ends in half a double-byte character and loses at most that half; letter case
// changes only ASCII letters outside double-byte characters; conversions give valid UTF-8,
// and a code point or a decoded text survives a round trip through code page 950.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "property_check.h"
#include "text/ascii.h"
#include "text/cp950.h"

namespace {

using namespace qor::text;

// Walking whole characters from the start ends exactly at the end of `s`.
bool endsOnCharacter(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) i += isLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
    return i == s.size();
}

bool isValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t len = c < 0x80         ? 1
                                : (c >> 5) == 6  ? 2
                                : (c >> 4) == 14 ? 3
                                : (c >> 3) == 30 ? 4
                                                 : 0;
        if (len == 0 || i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += len;
    }
    return true;
}

void checkCut(std::string_view s, std::size_t size) {
    const std::string cut = cutToBytes(s, size);
    QOR_FUZZ_EXPECT(s.starts_with(cut));
    if (s.size() <= size) {
        QOR_FUZZ_EXPECT(cut.size() == s.size());
        return;
    }
    QOR_FUZZ_EXPECT(cut.size() == size || cut.size() + 1 == size);
    QOR_FUZZ_EXPECT(endsOnCharacter(cut));
}

void checkLetterCase(std::string_view s) {
    const std::string upper = upperAscii(s);
    const std::string lower = lowerAscii(s);
    QOR_FUZZ_EXPECT(upper.size() == s.size() && lower.size() == s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool lead = isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size();
        const char c = s[i];
        QOR_FUZZ_EXPECT(upper[i] == (c >= 'a' && c <= 'z' ? c - 0x20 : c));
        QOR_FUZZ_EXPECT(lower[i] == (c >= 'A' && c <= 'Z' ? c + 0x20 : c));
        if (lead) {
            ++i;
            QOR_FUZZ_EXPECT(upper[i] == s[i] && lower[i] == s[i]);
        }
    }
    QOR_FUZZ_EXPECT(equalsNoCase(s, upper) && equalsNoCase(lower, s));
    QOR_FUZZ_EXPECT(upperAscii(lower) == upper);
    QOR_FUZZ_EXPECT(containsNoCase(upper, lower));
}

void checkConversions(std::string_view s, char32_t cp) {
    const std::string utf8 = cp950ToUtf8(s);
    QOR_FUZZ_EXPECT(isValidUtf8(utf8));
    // Big5 has a few duplicate codes, so bytes need not come back, but their reading does.
    QOR_FUZZ_EXPECT(cp950ToUtf8(utf8ToCp950(utf8)) == utf8);
    QOR_FUZZ_EXPECT(utf8ToCp950(s).size() <= s.size());

    const std::string bytes = codePointToCp950(cp);
    if (bytes.empty()) return;
    QOR_FUZZ_EXPECT(bytes.size() <= 2);
    const std::string back = cp950ToUtf8(bytes);
    QOR_FUZZ_EXPECT(utf8ToCp950(back) == bytes);
    QOR_FUZZ_EXPECT(codePointToCp950(cp) == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view s(reinterpret_cast<const char*>(data), size);
    std::uint32_t cp = 0;
    if (size >= 5) std::memcpy(&cp, data + 1, 4);
    checkCut(s, size == 0 ? 0 : data[0]);
    if (size > 0) checkCut(s, size - 1);
    checkLetterCase(s);
    checkConversions(s, static_cast<char32_t>(cp % 0x110000));
    return 0;
}
