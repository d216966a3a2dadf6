#pragma once
// Firebird's date and time encodings, and the texts dates take when a text column receives one.
#include <ibase.h>

#include <string>

#include "dataset/value.h"

namespace qor::fbdriver {

ds::Date decodeDate(ISC_DATE date);
ISC_DATE encodeDate(const ds::Date& date);
ds::Time decodeTime(ISC_TIME time);
ISC_TIME encodeTime(const ds::Time& time);

// The system's short formats: "yyyy/mm/dd", "hh:nn:ss", "yyyy/mm/dd hh:nn:ss".
std::string dateText(const ds::Date& date);
std::string timeText(const ds::Time& time);
std::string dateTimeText(const ds::DateTime& value);

}  // namespace qor::fbdriver
