#include "text/local_time.h"

namespace qor::text {

std::tm localTime(std::time_t moment) {
    std::tm local{};
    ::localtime_s(&local, &moment);
    return local;
}

}  // namespace qor::text
