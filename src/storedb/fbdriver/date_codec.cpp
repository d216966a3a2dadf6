#include "date_codec.h"

#include <cstdio>

namespace qor::fbdriver {
namespace {

// Firebird counts days from 1858-11-17; this is that day's number counted from 1970-01-01.
constexpr long kEpochShift = 40587;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long daysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

ds::Date civilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long y = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return ds::Date{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

}  // namespace

ds::Date decodeDate(ISC_DATE date) { return civilFromDays(static_cast<long>(date) - kEpochShift); }

ISC_DATE encodeDate(const ds::Date& date) {
    return static_cast<ISC_DATE>(daysFromCivil(date.year, static_cast<unsigned>(date.month),
                                               static_cast<unsigned>(date.day)) +
                                 kEpochShift);
}

ds::Time decodeTime(ISC_TIME time) {
    // Ten-thousandths of a second since midnight.
    ds::Time t;
    t.msec = static_cast<int>(time % 10000) / 10;
    time /= 10000;
    t.second = static_cast<int>(time % 60);
    time /= 60;
    t.minute = static_cast<int>(time % 60);
    t.hour = static_cast<int>(time / 60);
    return t;
}

ISC_TIME encodeTime(const ds::Time& time) {
    return static_cast<ISC_TIME>(((time.hour * 60 + time.minute) * 60 + time.second) * 10000 +
                                 time.msec * 10);
}

std::string dateText(const ds::Date& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", date.year, date.month, date.day);
    return text;
}

std::string timeText(const ds::Time& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour, time.minute, time.second);
    return text;
}

std::string dateTimeText(const ds::DateTime& value) {
    return dateText(value.date) + " " + timeText(value.time);
}

}  // namespace qor::fbdriver
