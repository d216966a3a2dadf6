#include "text/local_date.h"

#include <cstdio>
#include <ctime>

#include "text/local_time.h"

namespace qor::text {

std::string localDateText(int daysBefore) {
    const std::time_t now = std::time(nullptr);
    std::tm local = localTime(now);
    // Calendar arithmetic at noon: a daylight-saving change cannot move the day.
    local.tm_mday -= daysBefore;
    local.tm_hour = 12;
    local.tm_min = local.tm_sec = 0;
    local.tm_isdst = -1;
    std::mktime(&local);
    char text[40];  // room for any int, so the compiler sees no truncation
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return text;
}

}  // namespace qor::text
