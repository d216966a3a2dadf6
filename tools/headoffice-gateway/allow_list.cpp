#include "allow_list.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "text/ascii.h"
#include "text/cp950.h"

namespace qor::headoffice {
namespace {

constexpr std::size_t kLongestCode = 40;
constexpr std::size_t kLongestShape = 300;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0xA1 && c <= 0xFE); }

// Bytes of a {date} value at the start of `s`, or 0: '2024/05/01'.
std::size_t dateLength(std::string_view s) {
    constexpr std::string_view kShape = "'dddd/dd/dd'";
    if (s.size() < kShape.size()) return 0;
    for (std::size_t i = 0; i < kShape.size(); ++i)
        if (kShape[i] == 'd' ? !isDigit(s[i]) : s[i] != kShape[i]) return 0;
    return kShape.size();
}

// Bytes of a {code} value at the start of `s`, or 0. The text ends at the first quote not
// doubled; a lead byte must have its trail byte, which is never a quote, so the end is the
// same whether the bytes are read one by one or as code page 950 characters.
std::size_t codeLength(std::string_view s) {
    if (s.empty() || s[0] != '\'') return 0;
    std::size_t i = 1;
    while (i < s.size() && i - 1 <= kLongestCode) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == '\'') {
            if (i + 1 < s.size() && s[i + 1] == '\'') {
                i += 2;
                continue;
            }
            return i - 1 <= kLongestCode ? i + 1 : 0;
        }
        if (c >= 0x20 && c <= 0x7E) {
            ++i;
        } else if (text::isLeadByte(c) && i + 1 < s.size() &&
                   isTrailByte(static_cast<unsigned char>(s[i + 1]))) {
            i += 2;
        } else {
            return 0;
        }
    }
    return 0;
}

bool isPatternBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

AllowList::Pattern AllowList::parsePattern(std::string_view line) {
    Pattern pattern;
    auto addText = [&pattern](char c) {
        if (pattern.empty() || pattern.back().kind != Piece::Kind::Text)
            pattern.push_back({Piece::Kind::Text, {}});
        pattern.back().text += c;
    };
    char quote = 0;  // the quote character of the quoted text we are in
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '}') throw std::invalid_argument("a brace outside a hole");
        if (c == '{') {
            const std::size_t close = line.find('}', i + 1);
            if (close == std::string_view::npos || line.find('{', i + 1) < close)
                throw std::invalid_argument("a brace outside a hole");
            const std::string_view name = line.substr(i + 1, close - i - 1);
            Piece hole{Piece::Kind::Date, {}};
            if (name == "code") hole.kind = Piece::Kind::Code;
            else if (name != "date")
                throw std::invalid_argument("unknown hole {" + std::string(name) + "}");
            if (quote) throw std::invalid_argument("a hole inside quoted text");
            if (i == 0 || std::string_view(" \t(,=<>").find(line[i - 1]) == std::string_view::npos)
                throw std::invalid_argument(
                    "a hole must follow a blank, '(', ',' or a comparison sign");
            if (close + 1 < line.size() &&
                std::string_view(" \t),").find(line[close + 1]) == std::string_view::npos)
                throw std::invalid_argument("a hole must be followed by a blank, ')', ',' or the end");
            pattern.push_back(std::move(hole));
            i = close;
            continue;
        }
        if (quote) {
            if (c == quote) quote = 0;  // a doubled quote closes and opens again
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';' || line.substr(i).starts_with("--") || line.substr(i).starts_with("/*")) {
            throw std::invalid_argument("';', '--' or '/*' outside quotes");
        }
        if (isPatternBlank(c)) {
            if (pattern.empty() || pattern.back().kind != Piece::Kind::Blanks)
                pattern.push_back({Piece::Kind::Blanks, {}});
        } else {
            addText(c);
        }
    }
    if (quote) throw std::invalid_argument("an unclosed quote");
    return pattern;
}

AllowList AllowList::parse(std::string_view text, const std::string& name) {
    AllowList list;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        const std::string_view line = text::trimmedView(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line[0] == '#') continue;
        try {
            list.patterns_.push_back(parsePattern(line));
        } catch (const std::invalid_argument& fault) {
            throw std::runtime_error(name + ":" + std::to_string(lineNumber) + ": " + fault.what());
        }
    }
    if (list.patterns_.empty()) throw std::runtime_error(name + " holds no pattern");
    return list;
}

AllowList AllowList::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!(in && text << in.rdbuf()) || in.bad())
        throw std::runtime_error("cannot read the allow file " + path);
    return parse(text.str(), path);
}

bool AllowList::matches(const Pattern& pattern, std::string_view statement) {
    std::string_view rest = statement;
    for (const Piece& piece : pattern) {
        std::size_t used = 0;
        switch (piece.kind) {
        case Piece::Kind::Text:
            used = rest.starts_with(piece.text) ? piece.text.size() : 0;
            break;
        case Piece::Kind::Blanks:
            while (used < rest.size() && text::isBlank(rest[used])) ++used;
            break;
        case Piece::Kind::Date:
            used = dateLength(rest);
            break;
        case Piece::Kind::Code:
            used = codeLength(rest);
            break;
        }
        if (used == 0) return false;
        rest.remove_prefix(used);
    }
    return rest.empty();
}

bool AllowList::allows(std::string_view statement) const {
    for (const Pattern& pattern : patterns_)
        if (matches(pattern, statement)) return true;
    return false;
}

std::string statementShape(std::string_view statement) {
    std::string shape;
    for (std::size_t i = 0; i < statement.size() && shape.size() <= kLongestShape; ++i) {
        const auto c = static_cast<unsigned char>(statement[i]);
        if (c == '\'') {
            // To the quote that closes the text; a doubled quote stays inside it.
            std::size_t close = i + 1;
            while (close < statement.size()) {
                if (statement[close] != '\'') ++close;
                else if (close + 1 < statement.size() && statement[close + 1] == '\'') close += 2;
                else break;
            }
            shape += "'?'";
            i = close;
        } else if (text::isLeadByte(c) && i + 1 < statement.size() &&
                   isTrailByte(static_cast<unsigned char>(statement[i + 1]))) {
            shape.append(statement.substr(i, 2));
            ++i;
        } else {
            shape += c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c);
        }
    }
    if (shape.size() > kLongestShape) shape = text::cutToBytes(shape, kLongestShape) + "...";
    return shape;
}

}  // namespace qor::headoffice
