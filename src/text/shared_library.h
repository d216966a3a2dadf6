#pragma once
// A shared library opened at run time and the functions found in it, the system's way:
// dlopen / dlsym on POSIX, LoadLibrary / GetProcAddress on Windows.
#include <string>

namespace qor::text {

// Opens the library at `path` (a file name alone is looked up by the system's search) with
// every symbol bound now; nullptr when it cannot be loaded.
void* openSharedLibrary(const std::string& path);

// The function or variable `name` exported by `library`; nullptr when it has none.
void* findLibrarySymbol(void* library, const std::string& name);

// Unloads a library opened above. Never fails.
void closeSharedLibrary(void* library) noexcept;

// Whether `name` names a folder as well as a file ("/" anywhere; on Windows "\" or a drive
// too), so the system's search is not used for it.
bool namesFolder(const std::string& name);

}  // namespace qor::text
