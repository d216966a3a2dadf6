#include "text/shared_library.h"

#include <windows.h>

namespace qor::text {

void* openSharedLibrary(const std::string& path) {
    // A library named with its folder finds the libraries it needs in that folder first
    // (fbclient.dll beside the driver, say), as on a store's Windows machine.
    const DWORD flags = namesFolder(path) ? LOAD_WITH_ALTERED_SEARCH_PATH : 0;
    return reinterpret_cast<void*>(::LoadLibraryExA(path.c_str(), nullptr, flags));
}

void* findLibrarySymbol(void* library, const std::string& name) {
    if (!library) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
}

void closeSharedLibrary(void* library) noexcept {
    if (library) ::FreeLibrary(static_cast<HMODULE>(library));
}

bool namesFolder(const std::string& name) {
    return name.find_first_of("/\\:") != std::string::npos;
}

}  // namespace qor::text
