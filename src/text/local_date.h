#pragma once
// Dates held as text, from the local clock.
#include <string>

namespace qor::text {

// The local calendar date `daysBefore` days before today as "yyyy/mm/dd" (0: today; a
// negative count gives a date after today).
std::string localDateText(int daysBefore = 0);

}  // namespace qor::text
