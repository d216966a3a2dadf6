#include "dataset/display_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace qor::ds {

namespace {

struct Token {
    enum Kind { Zero, Hash, Point, Literal } kind;
    std::string text;  // for literals
};

struct Section {
    std::vector<Token> intPart;   // before the decimal point
    std::vector<Token> fracPart;  // after it
    bool hasPoint = false;
    bool thousands = false;
};

bool isDigitToken(const Token& t) { return t.kind == Token::Zero || t.kind == Token::Hash; }

// Splits at ";" outside quoted text.
std::vector<std::string> splitSections(std::string_view pattern) {
    std::vector<std::string> out(1);
    char quote = 0;
    for (char c : pattern) {
        if (quote) {
            if (c == quote) quote = 0;
            out.back() += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            out.back() += c;
        } else if (c == ';') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

Section parseSection(std::string_view s) {
    Section sec;
    auto* part = &sec.intPart;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"' || c == '\'') {
            std::size_t end = s.find(c, i + 1);
            if (end == std::string_view::npos) end = s.size();
            part->push_back({Token::Literal, std::string(s.substr(i + 1, end - i - 1))});
            i = end;
        } else if (c == '0') {
            part->push_back({Token::Zero, {}});
        } else if (c == '#') {
            part->push_back({Token::Hash, {}});
        } else if (c == '.' && !sec.hasPoint) {
            sec.hasPoint = true;
            part = &sec.fracPart;
        } else if (c == ',') {
            if (part == &sec.intPart) sec.thousands = true;
        } else {
            part->push_back({Token::Literal, std::string(1, c)});
        }
    }
    return sec;
}

int countDigits(const std::vector<Token>& tokens) {
    int n = 0;
    for (const auto& t : tokens) n += isDigitToken(t);
    return n;
}

// Digits from the first "0" placeholder to the end of the integer part.
int minIntegerDigits(const std::vector<Token>& tokens) {
    int n = 0;
    bool seenZero = false;
    for (const auto& t : tokens) {
        if (t.kind == Token::Zero) seenZero = true;
        if (seenZero && isDigitToken(t)) ++n;
    }
    return n;
}

// Digits up to the last "0" placeholder of the fraction.
int minFractionDigits(const std::vector<Token>& tokens) {
    int n = 0, last = 0;
    for (const auto& t : tokens) {
        if (isDigitToken(t)) ++n;
        if (t.kind == Token::Zero) last = n;
    }
    return last;
}

std::string layInteger(const Section& sec, std::string digits) {
    const auto& tokens = sec.intPart;
    int first = -1;
    for (int i = 0; i < int(tokens.size()); ++i)
        if (isDigitToken(tokens[i])) {
            first = i;
            break;
        }
    // Built from the right, reversed at the end.
    std::string out;
    int emitted = 0;
    auto emitDigit = [&] {
        if (sec.thousands && emitted > 0 && emitted % 3 == 0) out += ',';
        out += digits.back();
        digits.pop_back();
        ++emitted;
    };
    for (int i = int(tokens.size()) - 1; i >= 0; --i) {
        const Token& t = tokens[i];
        if (t.kind == Token::Literal) {
            out.append(t.text.rbegin(), t.text.rend());
        } else if (i == first) {
            while (!digits.empty()) emitDigit();
        } else if (!digits.empty()) {
            emitDigit();
        }
    }
    return std::string(out.rbegin(), out.rend());
}

std::string layFraction(const Section& sec, const std::string& digits) {
    std::string out;
    std::size_t next = 0;
    for (const auto& t : sec.fracPart) {
        if (t.kind == Token::Literal)
            out += t.text;
        else if (next < digits.size())
            out += digits[next++];
    }
    return out;
}

bool allZero(const std::string& s) {
    for (char c : s)
        if (c != '0' && c != '.') return false;
    return true;
}

// The number laid into one section; `isZero` tells whether it rounded to zero.
std::string formatSection(const Section& sec, double absValue, bool& isZero) {
    const int fracPlaces = countDigits(sec.fracPart);
    const std::string text = roundedDecimal(absValue, fracPlaces);
    isZero = allZero(text);
    const auto point = text.find('.');
    std::string intDigits = text.substr(0, point);
    std::string fracDigits = point == std::string::npos ? "" : text.substr(point + 1);

    while (!intDigits.empty() && intDigits.front() == '0') intDigits.erase(0, 1);
    const int minInt = minIntegerDigits(sec.intPart);
    if (int(intDigits.size()) < minInt) intDigits.insert(0, minInt - intDigits.size(), '0');

    const std::size_t minFrac = std::size_t(minFractionDigits(sec.fracPart));
    while (fracDigits.size() > minFrac && fracDigits.back() == '0') fracDigits.pop_back();

    std::string out = layInteger(sec, intDigits);
    if (!fracDigits.empty()) out += '.';
    out += layFraction(sec, fracDigits);
    return out;
}

}  // namespace

std::string roundedDecimal(double absValue, int decimals) {
    absValue = std::fabs(absValue);
    if (decimals < 0) decimals = 0;
    std::string d;
    int point = 0;
    if (absValue != 0 && std::isfinite(absValue)) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.14e", absValue);
        const std::string s(buf);
        const auto e = s.find('e');
        d = s.substr(0, 1) + s.substr(2, e - 2);  // 15 significant digits
        point = std::atoi(s.c_str() + e + 1) + 1;
        if (point < 0) {
            d.insert(0, std::size_t(-point), '0');
            point = 0;
        }
    }
    const std::size_t cut = std::size_t(point + decimals);
    if (d.size() < cut + 1) d.append(cut + 1 - d.size(), '0');
    const bool up = d[cut] >= '5';
    d.resize(cut);
    if (up) {
        int i = int(d.size()) - 1;
        while (i >= 0 && d[i] == '9') d[i--] = '0';
        if (i >= 0) {
            ++d[i];
        } else {
            d.insert(0, "1");
            ++point;
        }
    }
    std::string intPart = d.substr(0, std::size_t(point));
    while (intPart.size() > 1 && intPart.front() == '0') intPart.erase(0, 1);
    if (intPart.empty()) intPart = "0";
    if (decimals == 0) return intPart;
    return intPart + "." + d.substr(std::size_t(point));
}

std::string formatNumber(double value, std::string_view pattern) {
    const auto texts = splitSections(pattern);
    const bool negative = value < 0;
    bool isZero = false;
    std::string out;
    if (negative && texts.size() > 1 && !texts[1].empty()) {
        out = formatSection(parseSection(texts[1]), value, isZero);
    } else {
        out = formatSection(parseSection(texts[0]), value, isZero);
        if (negative && !isZero) out.insert(0, "-");
    }
    if (isZero && texts.size() > 2 && !texts[2].empty())
        out = formatSection(parseSection(texts[2]), 0, isZero);
    return out;
}

}  // namespace qor::ds
