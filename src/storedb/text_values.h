#pragma once
// Values to text and back, with "/" as date separator and "." as decimal separator.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dataset/value.h"

namespace qor::storedb {

// Optional leading blanks, an optional sign, decimal digits; a 32-bit value. Else nullopt.
std::optional<std::int32_t> parseWholeNumber(std::string_view text);
// A decimal number with "." and an optional exponent, blanks around allowed. Else nullopt.
std::optional<double> parseNumber(std::string_view text);
// "yyyy/m/d" (one to four year digits; two digits mean this century). Else nullopt.
std::optional<ds::Date> parseDate(std::string_view text);
// "h:mm", "h:mm:ss" or "h:mm:ss.zzz". Else nullopt.
std::optional<ds::Time> parseTime(std::string_view text);
// A date, optionally followed by blanks and a time. Else nullopt.
std::optional<ds::DateTime> parseDateTime(std::string_view text);

// Text of a value as the program shows it: numbers in plain decimal (up to 15 significant
// digits), dates "yyyy/mm/dd", times "hh:mm:ss", a date and time "yyyy/mm/dd hh:mm:ss" (the
// date alone at midnight), booleans "True"/"False"; a null gives the empty text.
std::string valueText(const ds::Value& value);

}  // namespace qor::storedb
