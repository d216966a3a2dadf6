#include "text/shared_library.h"

#include <dlfcn.h>

namespace qor::text {

void* openSharedLibrary(const std::string& path) {
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* findLibrarySymbol(void* library, const std::string& name) {
    return library ? ::dlsym(library, name.c_str()) : nullptr;
}

void closeSharedLibrary(void* library) noexcept {
    if (library) ::dlclose(library);
}

bool namesFolder(const std::string& name) { return name.find('/') != std::string::npos; }

}  // namespace qor::text
