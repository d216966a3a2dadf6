#include "workflows/key_set.h"

#include <gtest/gtest.h>

#include <string>

namespace qor::workflows {
namespace {

// Enough keys for the table to grow many times; keys that differ only in their last byte, in
// a trailing blank or a NUL, and the empty key, all told apart.
TEST(KeySet, KeepsEveryKeyOnceAndTellsNearKeysApart) {
    KeySet keys;
    EXPECT_FALSE(keys.contains(""));
    for (int i = 0; i < 20000; ++i) EXPECT_TRUE(keys.insert("B" + std::to_string(i)));
    EXPECT_TRUE(keys.insert(""));
    EXPECT_TRUE(keys.insert(std::string("A\0B", 3)));
    for (int i = 0; i < 20000; i += 7) EXPECT_FALSE(keys.insert("B" + std::to_string(i)));
    EXPECT_EQ(keys.size(), 20002u);

    for (int i = 0; i < 20000; ++i) {
        ASSERT_TRUE(keys.contains("B" + std::to_string(i))) << i;
        ASSERT_FALSE(keys.contains("B" + std::to_string(i) + " ")) << i;
        ASSERT_FALSE(keys.contains("C" + std::to_string(i))) << i;
    }
    EXPECT_TRUE(keys.contains(""));
    EXPECT_TRUE(keys.contains(std::string("A\0B", 3)));
    EXPECT_FALSE(keys.contains("A"));

    keys.clear();
    EXPECT_FALSE(keys.contains("B1"));
    EXPECT_TRUE(keys.insert("B1"));
}

}  // namespace
}  // namespace qor::workflows
