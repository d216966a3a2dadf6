#include "dataset/edit_mask.h"

#include <vector>

#include "text/cp950.h"

namespace qor::ds {

namespace {

bool isPositionChar(char c) {
    switch (c) {
        case '0': case '9': case '#': case 'L': case 'l':
        case 'A': case 'a': case 'C': case 'c':
            return true;
        default:
            return false;
    }
}

char toCase(char c, int mode) {
    if (mode > 0 && c >= 'a' && c <= 'z') return char(c - 'a' + 'A');
    if (mode < 0 && c >= 'A' && c <= 'Z') return char(c - 'A' + 'a');
    return c;
}

}  // namespace

EditMask EditMask::parse(std::string_view text) {
    // Section separators are the last two ";" not escaped by "\".
    std::vector<std::size_t> seps;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
            continue;
        }
        if (text[i] == ';') seps.push_back(i);
    }
    EditMask m;
    if (seps.empty()) {
        m.mask = std::string(text);
        return m;
    }
    std::string_view save, blank;
    std::size_t maskEnd;
    if (seps.size() >= 2) {
        const std::size_t a = seps[seps.size() - 2], b = seps.back();
        maskEnd = a;
        save = text.substr(a + 1, b - a - 1);
        blank = text.substr(b + 1);
    } else {
        maskEnd = seps.back();
        save = text.substr(maskEnd + 1);
    }
    m.mask = std::string(text.substr(0, maskEnd));
    m.saveLiterals = save != "0";
    if (!blank.empty()) m.blank = blank.front();
    return m;
}

std::string EditMask::apply(std::string_view value) const {
    std::string out;
    std::size_t next = 0;  // next unused byte of the value
    int caseMode = 0;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        if (c == '!') continue;
        if (c == '<' && i + 1 < mask.size() && mask[i + 1] == '>') {
            caseMode = 0;
            ++i;
            continue;
        }
        if (c == '>') {
            caseMode = 1;
            continue;
        }
        if (c == '<') {
            caseMode = -1;
            continue;
        }
        if (isPositionChar(c)) {
            if (next >= value.size()) {
                out += blank;
                continue;
            }
            // A double-byte character fills one position whole.
            if (text::isLeadByte(static_cast<unsigned char>(value[next])) &&
                next + 1 < value.size()) {
                out.append(value.substr(next, 2));
                next += 2;
            } else {
                out += toCase(value[next++], caseMode);
            }
            continue;
        }
        char literal = c;
        if (c == '\\' && i + 1 < mask.size()) literal = mask[++i];
        else if (c == '_') literal = ' ';
        out += literal;
        if (saveLiterals && next < value.size() && value[next] == literal) ++next;
    }
    return out;
}

}  // namespace qor::ds
