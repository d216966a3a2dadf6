#include "temp_folder.h"

#include <stdlib.h>

#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace qor::test {

fs::path makeTempFolder(const std::string& prefix) {
    std::string pattern = (fs::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a folder like " + pattern);
    return fs::path(pattern);
}

TempFolder::TempFolder(const std::string& prefix) : path_(makeTempFolder(prefix)) {}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

}  // namespace qor::test
