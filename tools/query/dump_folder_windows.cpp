#include "dump_folder.h"

std::string dumpFolder() { return "c:\\"; }
