#include "dump_folder.h"

#include <cstdlib>

std::string dumpFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::string(data) + "/QorClient";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/QorClient";
}
