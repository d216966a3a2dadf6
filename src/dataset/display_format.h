#pragma once
// Numeric display patterns such as "#0.00" or "#,##0.0;(#,##0.0);zero".
#include <string>
#include <string_view>

namespace qor::ds {

// The value laid into the pattern. Pattern characters: "0" a digit always shown, "#" a
// digit shown when significant, "." the decimal point, "," thousands separators in the
// integer part; text in quotes and any other character is shown as written. Up to three
// sections separated by ";": positive, negative (shown without sign), zero. Rounding is
// half away from zero on the value's 15-significant-digit decimal text, so 2.345 gives
// "2.35" with "#0.00".
std::string formatNumber(double value, std::string_view pattern);

// The value's decimal text rounded half away from zero to `decimals` places, using its
// first 15 significant digits; no sign. "0.33" for (0.333, 2).
std::string roundedDecimal(double absValue, int decimals);

}  // namespace qor::ds
