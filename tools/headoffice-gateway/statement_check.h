#pragma once
// Which statements the gateway runs: one SELECT, nothing else. The database runs it in a
// read-only transaction as well, so a selectable procedure cannot write either.
#include <string>
#include <string_view>

namespace qor::headoffice {

struct CheckedStatement {
    bool accepted = false;
    std::string statement;  // what to run: without surrounding blanks and a final ";"
    std::string refusal;    // why not, when refused
};

// Accepts a single statement that starts with the word SELECT (any letter case) after blanks,
// tabs, CR and LF. Refuses an empty text, any other first word, and a ";" outside quoted
// text and comments unless only blanks follow it. Text is code page 950 bytes: no trail
// byte of a double-byte character is a quote, a ";" or a comment mark, so bytes are scanned
// as they are.
CheckedStatement checkStatement(std::string_view sql);

}  // namespace qor::headoffice
