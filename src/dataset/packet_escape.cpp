#include "dataset/packet_escape.h"

#include <array>
#include <cstdint>

#include "text/cp950.h"

namespace qor::ds::packet {

namespace {

// Bytes that cannot stand as they are inside a double-quoted attribute value.
constexpr std::array<bool, 256> needsEscape = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c < 0x20; ++c) t[c] = true;
    t['&'] = t['<'] = t['>'] = t['"'] = t['\''] = true;
    return t;
}();

void appendReference(std::string& out, unsigned char c) {
    switch (c) {
    case '&': out += "&amp;"; return;
    case '<': out += "&lt;"; return;
    case '>': out += "&gt;"; return;
    case '"': out += "&quot;"; return;
    case '\'': out += "&apos;"; return;
    default: break;
    }
    char ref[6] = {'&', '#', 0, 0, 0, 0};
    int n = 2;
    if (c >= 10) ref[n++] = static_cast<char>('0' + c / 10);
    ref[n++] = static_cast<char>('0' + c % 10);
    ref[n++] = ';';
    out.append(ref, static_cast<std::size_t>(n));
}

// Reads the number of "&#...;" (body without "&#" and ";"); false when it is no number.
bool readCodePoint(std::string_view body, char32_t& cp) {
    int base = 10;
    if (!body.empty() && (body[0] == 'x' || body[0] == 'X')) {
        base = 16;
        body.remove_prefix(1);
    }
    if (body.empty() || body.size() > 8) return false;
    std::uint32_t value = 0;
    for (char ch : body) {
        int digit;
        if (ch >= '0' && ch <= '9') digit = ch - '0';
        else if (base == 16 && ch >= 'a' && ch <= 'f') digit = ch - 'a' + 10;
        else if (base == 16 && ch >= 'A' && ch <= 'F') digit = ch - 'A' + 10;
        else return false;
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    }
    if (value > 0x10FFFF) return false;
    cp = value;
    return true;
}

}  // namespace

void appendEscaped(std::string& out, std::string_view bytes) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (!needsEscape[c]) continue;
        out.append(bytes.data() + runStart, i - runStart);
        appendReference(out, c);
        runStart = i + 1;
    }
    out.append(bytes.data() + runStart, bytes.size() - runStart);
}

bool unescape(std::string_view raw, std::string& out) {
    out.clear();
    std::size_t pos = 0;
    while (true) {
        const std::size_t amp = raw.find('&', pos);
        if (amp == std::string_view::npos) {
            out.append(raw.data() + pos, raw.size() - pos);
            return true;
        }
        out.append(raw.data() + pos, amp - pos);
        const std::size_t semi = raw.find(';', amp + 1);
        if (semi == std::string_view::npos) return false;
        const std::string_view name = raw.substr(amp + 1, semi - amp - 1);
        if (name == "amp") out += '&';
        else if (name == "lt") out += '<';
        else if (name == "gt") out += '>';
        else if (name == "quot") out += '"';
        else if (name == "apos") out += '\'';
        else if (name.size() > 1 && name[0] == '#') {
            char32_t cp;
            if (!readCodePoint(name.substr(1), cp)) return false;
            if (cp < 0x80) {
                out += static_cast<char>(cp);
            } else {
                const std::string bytes = text::codePointToCp950(cp);
                if (bytes.empty()) return false;
                out += bytes;
            }
        } else {
            return false;
        }
        pos = semi + 1;
    }
}

}  // namespace qor::ds::packet
