#pragma once
// A property a fuzz target holds its code to. When one fails, the target aborts with the
// property and its place: libFuzzer keeps the input as a crash file, and the corpus replay
// of the normal build fails the same way.
#include <cstdio>
#include <cstdlib>

namespace qor::fuzz {

[[noreturn]] inline void propertyFailed(const char* property, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, property);
    std::abort();
}

}  // namespace qor::fuzz

#define QOR_FUZZ_EXPECT(condition) \
    ((condition) ? void() : ::qor::fuzz::propertyFailed(#condition, __FILE__, __LINE__))
