#include "storedb/driver_library.h"

#include <filesystem>
#include <map>
#include <mutex>

#include "text/errors.h"
#include "text/shared_library.h"

namespace qor::storedb {

namespace {

std::mutex& libraryMutex() {
    static std::mutex m;
    return m;
}

// Libraries this process has loaded, by the name they were opened with. They stay loaded until
// the process ends: drivers made from them may live that long.
std::map<std::string, void*>& loadedLibraries() {
    static std::map<std::string, void*> libraries;
    return libraries;
}

}  // namespace

void* loadDriverLibrary(const std::string& libraryName, const std::string& executableDir) {
    std::string target = libraryName;
    if (!libraryName.empty() && !text::namesFolder(libraryName)) {
        std::string beside = executableDir + "/" + libraryName;
        std::error_code ec;
        if (std::filesystem::is_regular_file(beside, ec)) target = beside;
    }

    std::lock_guard lock(libraryMutex());
    auto& libraries = loadedLibraries();
    if (auto it = libraries.find(target); it != libraries.end()) return it->second;

    void* handle = libraryName.empty() ? nullptr : text::openSharedLibrary(target);
    if (!handle) throw Error(format("Unable to Load %s", libraryName));
    libraries.emplace(target, handle);
    return handle;
}

dbx::GetDriverFunc findDriverEntry(void* library, const std::string& functionName) {
    void* symbol = functionName.empty() ? nullptr : text::findLibrarySymbol(library, functionName);
    if (!symbol) throw Error(format("Unable to Find Procedure %s", functionName));
    return reinterpret_cast<dbx::GetDriverFunc>(symbol);
}

}  // namespace qor::storedb
