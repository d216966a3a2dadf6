#include "date_codec.h"

#include "dataset/calendar.h"
#include "dataset/value_text.h"

namespace qor::fbdriver {
namespace {

// Firebird counts days from 1858-11-17.
constexpr long kFirebirdDayZero = ds::daysFromCivil(1858, 11, 17);

}  // namespace

ds::Date decodeDate(ISC_DATE date) {
    return ds::civilFromDays(static_cast<long>(date) + kFirebirdDayZero);
}

ISC_DATE encodeDate(const ds::Date& date) {
    return static_cast<ISC_DATE>(ds::daysFromCivil(date) - kFirebirdDayZero);
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

std::string dateTimeText(const ds::DateTime& value) {
    return ds::formatDate(value.date) + " " + ds::formatTime(value.time);
}

}  // namespace qor::fbdriver
