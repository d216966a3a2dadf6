#pragma once
// Edit masks such as "!00-00-0;0;": the mask, whether literals are stored ("0": no), and
// the blank character shown for positions without a character ("_" when empty).
#include <string>
#include <string_view>

namespace qor::ds {

struct EditMask {
    std::string mask;          // the first section
    bool saveLiterals = true;  // second section other than "0"
    char blank = '_';

    static EditMask parse(std::string_view text);

    // The stored value laid into the mask: each character position of the mask ("0", "9",
    // "#", "L", "l", "A", "a", "C", "c") takes the next character of the value; literal
    // characters are shown as written ("\" makes the next character literal); positions
    // left without a character show the blank. When literals are stored, a value character
    // equal to the literal at its place is taken as that literal. ">" and "<" change
    // letter case of what follows, "<>" stops that, "!" is not shown.
    std::string apply(std::string_view value) const;
};

}  // namespace qor::ds
