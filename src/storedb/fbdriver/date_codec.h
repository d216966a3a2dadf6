#pragma once
// Firebird's date and time encodings, and the text a date and time takes when a text marker
// receives one.
#include <ibase.h>

#include <string>

#include "dataset/value.h"

namespace qor::fbdriver {

ds::Date decodeDate(ISC_DATE date);
ISC_DATE encodeDate(const ds::Date& date);
ds::Time decodeTime(ISC_TIME time);
ISC_TIME encodeTime(const ds::Time& time);

// What a text marker gets for a date and time: "yyyy/mm/dd hh:nn:ss", the time written even at
// midnight (a date alone or a time alone takes ds::formatDate or ds::formatTime).
std::string dateTimeText(const ds::DateTime& value);

}  // namespace qor::fbdriver
