#include <gtest/gtest.h>

#include "text/cp950.h"
#include "text/errors.h"

using namespace qor::text;

TEST(Cp950, ConvertsChineseBothWays) {
    const std::string big5 = utf8ToCp950("商品資料");
    EXPECT_EQ(big5, "\xb0\xd3\xab\x7e\xb8\xea\xae\xc6");
    EXPECT_EQ(cp950ToUtf8(big5), "商品資料");
    EXPECT_EQ(utf8ToCp950("A1 您好!!"), std::string("A1 \xb1\x7a\xa6\x6e!!"));
}

TEST(Cp950, SortMarksAreTwoBytesEach) {
    EXPECT_EQ(utf8ToCp950("▲"), "\xa1\xb6");
    EXPECT_EQ(utf8ToCp950("▼"), "\xa1\xbf");
}

TEST(Cp950, UnmappableCharacterBecomesQuestionMark) {
    EXPECT_EQ(utf8ToCp950("a😀b"), "a?b");
    EXPECT_EQ(codePointToCp950(0x1F600), "");
    EXPECT_EQ(codePointToCp950(0x5546), "\xb0\xd3");  // 商
}

TEST(Cp950, LiteralHelperConvertsOnce) {
    const std::string& a = QOR_BIG5("連線");
    EXPECT_EQ(cp950ToUtf8(a), "連線");
}

TEST(Cp950, CutKeepsWholeCharacters) {
    const std::string s = utf8ToCp950("AB商品");  // 41 42 b0 d3 ab 7e
    EXPECT_EQ(cutToBytes(s, 10), s);
    EXPECT_EQ(cutToBytes(s, 4), s.substr(0, 4));
    EXPECT_EQ(cutToBytes(s, 3), "AB");  // the lead byte b0 would stand alone
    EXPECT_EQ(cutToBytes(s, 5), s.substr(0, 4));
    EXPECT_EQ(cutToBytes("abcdef", 0), "");
}

TEST(Cp950, CutReadsTrailBytesAsPartOfTheirCharacter) {
    // 商 is b0 d3: its trail byte d3 would look like a lead byte on its own.
    const std::string s = "A" + utf8ToCp950("商商");
    ASSERT_EQ(s, "A\xb0\xd3\xb0\xd3");
    EXPECT_EQ(cutToBytes(s, 4), "A\xb0\xd3");
    EXPECT_EQ(cutToBytes(s, 3), "A\xb0\xd3");
}

TEST(Cp950, UpperCaseLeavesDoubleByteCharactersWhole) {
    // 丐 is a4 62: its trail byte is "b".
    const std::string s = "select '" + utf8ToCp950("丐") + "x'";
    EXPECT_EQ(upperAscii(s), "SELECT '" + utf8ToCp950("丐") + "X'");
    EXPECT_EQ(upperAscii("where a.chg_date >= 'abc'"), "WHERE A.CHG_DATE >= 'ABC'");
}

TEST(Format, FillsPlaceholdersInOrder) {
    EXPECT_EQ(qor::format("Field '%s' not found", "X"), "Field 'X' not found");
    EXPECT_EQ(qor::format("Type mismatch for field '%s', expecting: %s actual: %s", "A", "Float", "String"),
              "Type mismatch for field 'A', expecting: Float actual: String");
    EXPECT_EQ(qor::format("no placeholder", "X"), "no placeholder");
}
