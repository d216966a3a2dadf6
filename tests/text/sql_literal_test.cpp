#include <gtest/gtest.h>

#include "text/sql_literal.h"

using namespace qor::text;

TEST(SqlLiteral, QuotesAndDoublesEveryQuote) {
    EXPECT_EQ(sqlLiteral("A001"), "'A001'");
    EXPECT_EQ(sqlLiteral(""), "''");
    EXPECT_EQ(sqlLiteral("O'Neil"), "'O''Neil'");
    EXPECT_EQ(sqlLiteral("' or '1'='1"), "''' or ''1''=''1'");
}

TEST(SqlLiteral, LinesEndWithCrLf) {
    EXPECT_EQ(joinLines({"SELECT a.* ", "FROM PRODUCT a "}), "SELECT a.* \r\nFROM PRODUCT a \r\n");
}
