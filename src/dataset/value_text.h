#pragma once
// Text forms of typed values, both ways. Fields use them for their text and for assignment
// from text; the store-database layer uses them for typed parameters.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dataset/value.h"

namespace qor::ds {

// Up to 15 significant digits, "." as the decimal point, no trailing zeros; an exponent
// ("1E20", "1.5E-7") only outside the ordinary range: 3 -> "3", 0.1 -> "0.1".
std::string formatFloat(double v);
// A decimal number with "." and an optional exponent; blanks around it are allowed.
std::optional<double> parseFloat(std::string_view text);

std::string formatInteger(std::int64_t v);
// A decimal whole number with an optional sign; blanks around it are allowed.
std::optional<std::int64_t> parseInteger(std::string_view text);

// "True" / "False".
std::string formatBoolean(bool v);
// TRUE, FALSE, T, F, Y, N, 1, 0 in any letter case.
std::optional<bool> parseBoolean(std::string_view text);

bool isValidDate(const Date& d);
bool isValidTime(const Time& t);

// "yyyy/mm/dd".
std::string formatDate(const Date& d);
// Year, month and day separated by "/" (one or two digits for month and day).
std::optional<Date> parseDate(std::string_view text);
// "hh:nn:ss".
std::string formatTime(const Time& t);
// "hh:nn", "hh:nn:ss" or "hh:nn:ss.zzz".
std::optional<Time> parseTime(std::string_view text);
// "yyyy/mm/dd hh:nn:ss"; the time part is left out when it is midnight.
std::string formatDateTime(const DateTime& dt);
// A date, optionally followed by blanks and a time.
std::optional<DateTime> parseDateTime(std::string_view text);

// Days since kSerialDateEpoch (1899/12/30) with the time as the fraction: the classic serial
// date number.
double toSerial(const DateTime& dt);

// The plain text of any value: the forms above; a null gives the empty text.
std::string valueToText(const Value& v);

// Text read as a value of the kind: text kinds take it as it is; other kinds read the
// forms above and an empty text gives null. nullopt when the text cannot be read.
std::optional<Value> textToValue(std::string_view text, FieldKind kind);

// What a failed read says, e.g. "'abc' is not a valid floating point value",
// "'x' is not a valid date".
std::string notValidMessage(std::string_view text, FieldKind kind);

}  // namespace qor::ds
