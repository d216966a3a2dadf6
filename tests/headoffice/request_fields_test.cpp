// The account in the query string: stores send it as it is; other HTTP clients encode it.
#include <gtest/gtest.h>

#include "request_fields.h"

using qor::headoffice::percentDecoded;
using qor::headoffice::queryValues;

TEST(RequestFields, QueryValuesKeepTheRawTextBesideTheDecodedOne) {
    auto values = queryValues("/oVat/ado/index.php?user_name=SYSDBA&password=a+b%41%zz", "password");
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].raw, "a+b%41%zz");
    EXPECT_EQ(values[0].decoded, "a bA%zz");

    EXPECT_TRUE(queryValues("/oVat/ado/index.php", "password").empty());
    EXPECT_EQ(queryValues("/x?password=1&password=2", "password").size(), 2u);
    EXPECT_EQ(queryValues("/x?user_name=&password=1", "user_name")[0].raw, "");
    // Big5 bytes pass as they are.
    EXPECT_EQ(queryValues("/x?user_name=\xB3\x5C", "user_name")[0].decoded, "\xB3\x5C");
}

TEST(RequestFields, PercentDecodingLeavesBrokenEscapesAlone) {
    EXPECT_EQ(percentDecoded("%"), "%");
    EXPECT_EQ(percentDecoded("%4"), "%4");
    EXPECT_EQ(percentDecoded("100%25"), "100%");
}
