#include "reply_memory.h"

#include <malloc.h>

namespace qor::headoffice {

void keepReplyMemory() {
    // Pieces and whole replies up to 4 MB come from the heap, and up to 32 MB of free heap
    // top stays with the process.
    ::mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
    ::mallopt(M_TRIM_THRESHOLD, 32 * 1024 * 1024);
}

}  // namespace qor::headoffice
