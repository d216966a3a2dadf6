#pragma once
// Where the last gateway reply is kept (Result.txt), as the program keeps it.
#include <string>

// POSIX: the program's per-user data folder, ~/.local/share/QorClient (XDG_DATA_HOME when
// set). Windows: "c:\", where the store's tools have always looked for it.
std::string dumpFolder();
