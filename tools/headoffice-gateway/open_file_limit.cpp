#include "open_file_limit.h"

#include <sys/resource.h>

#include <algorithm>

namespace qor::headoffice {

std::size_t raiseOpenFileLimit(std::size_t wanted) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < wanted) {
        // Past the hard limit only a privileged process may go.
        rlimit raised = limit;
        raised.rlim_cur = static_cast<rlim_t>(wanted);
        if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < raised.rlim_cur)
            raised.rlim_max = raised.rlim_cur;
        if (::setrlimit(RLIMIT_NOFILE, &raised) != 0) {
            raised.rlim_max = limit.rlim_max;
            raised.rlim_cur = limit.rlim_max == RLIM_INFINITY
                                  ? static_cast<rlim_t>(wanted)
                                  : std::min(limit.rlim_max, static_cast<rlim_t>(wanted));
            if (::setrlimit(RLIMIT_NOFILE, &raised) != 0) raised = limit;
        }
        limit = raised;
    }
    return limit.rlim_cur == RLIM_INFINITY ? wanted : static_cast<std::size_t>(limit.rlim_cur);
}

}  // namespace qor::headoffice
