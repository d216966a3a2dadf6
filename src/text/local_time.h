#pragma once
// The local calendar time of a moment, safe to call from any thread.
#include <ctime>

namespace qor::text {

// `moment` broken down in the local time zone (localtime_r on POSIX, localtime_s on Windows).
std::tm localTime(std::time_t moment);

}  // namespace qor::text
