#pragma once
// The driver plugin, loaded once per process and shared by every connection. Safe to call
// from several threads.
#include <string>

#include "storedb/dbx_driver.h"

namespace qor::storedb {

// Loads the library named `libraryName` unless this process has loaded it already. A name
// without a folder is looked for in `executableDir` first, then by the system's search.
// Fails with "Unable to Load <libraryName>".
void* loadDriverLibrary(const std::string& libraryName, const std::string& executableDir);

// The entry function `functionName` of a loaded library; fails with
// "Unable to Find Procedure <functionName>".
dbx::GetDriverFunc findDriverEntry(void* library, const std::string& functionName);

}  // namespace qor::storedb
