// Every fault test; started with "--transfer-child <folder>", the program is instead the store
// program a test kills during a transfer (killed_transfer_test.cpp).
#include <gtest/gtest.h>

#include <cstring>

#include "transfer_child.h"

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], qor::test::kTransferChildFlag) == 0)
        return qor::test::runTransferChild(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
