#pragma once
// Day numbers of calendar dates (proleptic Gregorian), counted from 1970/01/01, both ways.
// Header only: the driver plugin uses them too.
#include "dataset/value.h"

namespace qor::ds {

constexpr long daysFromCivil(int year, int month, int day) {
    const long y = year - (month <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153L * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

constexpr long daysFromCivil(const Date& date) {
    return daysFromCivil(date.year, date.month, date.day);
}

constexpr Date civilFromDays(long days) {
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthIndex = (5 * dayOfYear + 2) / 153;  // March is 0
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return Date{static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

static_assert(daysFromCivil(1970, 1, 1) == 0);
static_assert(civilFromDays(daysFromCivil(2000, 2, 29)) == Date{2000, 2, 29});
static_assert(civilFromDays(daysFromCivil(kSerialDateEpoch)) == kSerialDateEpoch);

}  // namespace qor::ds
