#include "text/long_options.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qor::text {
namespace {

std::string failureOf(const std::vector<std::string>& args) {
    try {
        readLongOptions(args);
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    return "";
}

TEST(LongOptions, ReadsBothFormsAndHelpAndNamesWhatIsWrong) {
    const auto options = readLongOptions({"--port", "80", "-h", "--db=a=b", "--empty=", "--help"});
    ASSERT_EQ(options.size(), 5u);
    EXPECT_EQ(options[0].name + "|" + options[0].value, "port|80");
    EXPECT_TRUE(options[1].help);
    EXPECT_EQ(options[2].name + "|" + options[2].value, "db|a=b");
    EXPECT_EQ(options[3].name + "|" + options[3].value, "empty|");
    EXPECT_FALSE(options[3].help);
    EXPECT_TRUE(options[4].help);

    EXPECT_EQ(failureOf({"--port", "80", "stray"}), "unexpected 'stray'");
    EXPECT_EQ(failureOf({"-p", "80"}), "unexpected '-p'");
    EXPECT_EQ(failureOf({"--days"}), "--days wants a value");

    EXPECT_EQ(wholeNumberOption("port", "0", 0, 65535), 0);
    for (const char* bad : {"65536", "-1", "8O", ""}) {
        try {
            wholeNumberOption("port", bad, 0, 65535);
            ADD_FAILURE() << bad;
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(e.what(), "--port wants a number from 0 to 65535, not '" + std::string(bad) + "'");
        }
    }
}

}  // namespace
}  // namespace qor::text
