#pragma once
// The statements a head office lets its gateway run (--allow FILE): only those that match one
// of the file's patterns, whole; every other is refused before it reaches the database.
//
// The pattern language is small on purpose, so that what a pattern lets through can be read
// off it: text, blanks and typed holes; no wildcard, no choice, no repetition. A pattern is a
// statement as the gateway receives it (in capitals, on one line):
//   - text matches the same bytes;
//   - a run of blanks (blank or tab; CR, LF, form feed and vertical tab in a statement)
//     matches a run of one or more of them;
//   - a hole matches one value of its type, its quotes included:
//       {date}  a date as the store writes it: '2024/05/01' (4, 2 and 2 digits)
//       {code}  a quoted code: at most 40 bytes between the quotes, each a printable
//               character (a quote written twice, '') or a whole double-byte (Big5)
//               character; no control byte, no byte that could end the text early
// A hole stands alone as a value: before it a blank, "(", ",", "=", "<" or ">"; after it a
// blank, ")", "," or the end of the pattern; never inside quoted text. Outside quotes a
// pattern holds no ";", "--" or "/*", and nowhere a brace except around a hole's name.
// So a statement that matches has its values where the pattern has its holes, and a value
// can never hold a second clause: each hole ends at the quote that closes its text.
//
// In the file: one pattern a line, blanks around it ignored; empty lines and lines starting
// with "#" are skipped.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qor::headoffice {

class AllowList {
public:
    // The patterns of the file at `path`. Fails with std::runtime_error "cannot read the allow
    // file <path>", "<path>:<line>: <fault>" (see parse()) or "<path> holds no pattern".
    static AllowList read(const std::string& path);
    // The patterns of a file's text; `name` stands for its path in the failures. Faults:
    // "unknown hole {<name>}", "a brace outside a hole", "a hole inside quoted text",
    // "a hole must follow a blank, '(', ',' or a comparison sign", "a hole must be followed
    // by a blank, ')', ',' or the end", "an unclosed quote", "';', '--' or '/*' outside
    // quotes".
    static AllowList parse(std::string_view text, const std::string& name);

    // `statement` as the gateway runs it: without surrounding blanks and a final ";".
    bool allows(std::string_view statement) const;

    std::size_t size() const { return patterns_.size(); }

private:
    struct Piece {
        enum class Kind { Text, Blanks, Date, Code } kind;
        std::string text;  // Text only
    };
    using Pattern = std::vector<Piece>;

    static Pattern parsePattern(std::string_view line);
    static bool matches(const Pattern& pattern, std::string_view statement);

    std::vector<Pattern> patterns_;
};

// A refused statement as the log shows it: every quoted text as '?' (a sign-in's values are
// the store's identification code), at most 300 bytes.
std::string statementShape(std::string_view statement);

}  // namespace qor::headoffice
