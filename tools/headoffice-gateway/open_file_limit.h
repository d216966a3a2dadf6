#pragma once
// Every open connection is a file descriptor; the system's default limit per process (often
// 1024) is below what a gateway facing a chain's stores keeps open.
#include <cstddef>

namespace qor::headoffice {

// Raises this process's soft limit of open files as far as its hard limit allows, up to
// `wanted`; returns the soft limit in force afterwards.
std::size_t raiseOpenFileLimit(std::size_t wanted);

}  // namespace qor::headoffice
