#include <iostream>

int runStoreQuery(const char*) {
    std::cerr << "qor-query store: not built yet\n";
    return 1;
}
