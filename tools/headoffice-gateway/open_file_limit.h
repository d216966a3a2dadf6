#pragma once
// Every open connection is a file descriptor; the system's default limit per process (often
// 1024) is below what a gateway facing a chain's stores keeps open.
#include <cstddef>

namespace qor::headoffice {

// Raises this process's limit of open files to `wanted`: past its hard limit where the process
// may (as root), else as far as the hard limit allows. Returns the limit in force afterwards.
std::size_t raiseOpenFileLimit(std::size_t wanted);

}  // namespace qor::headoffice
