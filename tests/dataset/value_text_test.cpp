#include <gtest/gtest.h>

#include "dataset/display_format.h"
#include "dataset/edit_mask.h"
#include "dataset/value_text.h"

using namespace qor::ds;

TEST(ValueText, FloatsUseFifteenDigitsAndExponentOnlyWhenNeeded) {
    EXPECT_EQ(formatFloat(3), "3");
    EXPECT_EQ(formatFloat(0.1), "0.1");
    EXPECT_EQ(formatFloat(-2.5), "-2.5");
    EXPECT_EQ(formatFloat(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(formatFloat(123456789012345.0), "123456789012345");
    EXPECT_EQ(formatFloat(1e15), "1E15");
    EXPECT_EQ(formatFloat(1e20), "1E20");
    EXPECT_EQ(formatFloat(1.5e-7), "1.5E-7");
    EXPECT_EQ(formatFloat(0.0001), "0.0001");
    EXPECT_EQ(formatFloat(-0.0), "0");
}

TEST(ValueText, ReadsNumbersStrictly) {
    EXPECT_EQ(parseFloat(" 12.5 "), 12.5);
    EXPECT_EQ(parseFloat("-1e3"), -1000);
    EXPECT_EQ(parseFloat("+.5"), 0.5);
    for (const char* bad : {"", "abc", "1,5", "inf", "nan", "0x10", "1e", "--1", "12 3"})
        EXPECT_FALSE(parseFloat(bad)) << bad;
    EXPECT_EQ(parseInteger(" -42 "), -42);
    EXPECT_FALSE(parseInteger("4.2"));
    EXPECT_FALSE(parseInteger("99999999999999999999"));
}

TEST(ValueText, BooleanForms) {
    for (const char* t : {"TRUE", "true", "T", "y", "1"}) EXPECT_EQ(parseBoolean(t), true) << t;
    for (const char* f : {"False", "f", "N", "0"}) EXPECT_EQ(parseBoolean(f), false) << f;
    EXPECT_FALSE(parseBoolean("yes"));
    EXPECT_EQ(formatBoolean(true), "True");
}

TEST(ValueText, DatesAndTimes) {
    EXPECT_EQ(formatDate({2024, 3, 5}), "2024/03/05");
    EXPECT_EQ(parseDate("2024/3/5"), (Date{2024, 3, 5}));
    EXPECT_FALSE(parseDate("2023/02/29"));
    EXPECT_TRUE(parseDate("2024/02/29"));
    EXPECT_FALSE(parseDate("2024-03-05"));
    EXPECT_EQ(formatTime({9, 5, 7, 120}), "09:05:07");
    EXPECT_EQ(parseTime("23:59"), (Time{23, 59, 0, 0}));
    EXPECT_FALSE(parseTime("24:00:00"));
    EXPECT_EQ(formatDateTime({{2024, 1, 2}, {}}), "2024/01/02");
    EXPECT_EQ(formatDateTime({{2024, 1, 2}, {13, 4, 5, 0}}), "2024/01/02 13:04:05");
    EXPECT_EQ(parseDateTime("2024/01/02 13:04:05"), (DateTime{{2024, 1, 2}, {13, 4, 5, 0}}));
    EXPECT_DOUBLE_EQ(toSerial({{1900, 1, 1}, {12, 0, 0, 0}}), 2.5);
}

TEST(ValueText, TextToValueByKind) {
    EXPECT_TRUE(isNull(*textToValue("", FieldKind::Integer)));
    EXPECT_EQ(*textToValue("", FieldKind::String), Value(std::string()));
    EXPECT_EQ(*textToValue("12", FieldKind::SmallInt), Value(std::int64_t(12)));
    EXPECT_FALSE(textToValue("12x", FieldKind::Integer));
    EXPECT_EQ(notValidMessage("abc", FieldKind::Float), "'abc' is not a valid floating point value");
    EXPECT_EQ(notValidMessage("x", FieldKind::Date), "'x' is not a valid date");
}

TEST(DisplayFormat, TwoDecimalsRoundHalfAwayFromZero) {
    EXPECT_EQ(formatNumber(0.333, "#0.00"), "0.33");
    EXPECT_EQ(formatNumber(2.346, "#0.00"), "2.35");
    EXPECT_EQ(formatNumber(2.345, "#0.00"), "2.35");  // 2.34499999... as a double
    EXPECT_EQ(formatNumber(12.5, "#0.00"), "12.50");
    EXPECT_EQ(formatNumber(3, "#0.00"), "3.00");
    EXPECT_EQ(formatNumber(0, "#0.00"), "0.00");
    EXPECT_EQ(formatNumber(-0.004, "#0.00"), "0.00");
    EXPECT_EQ(formatNumber(-1.005, "#0.00"), "-1.01");
    EXPECT_EQ(formatNumber(9.999, "#0.00"), "10.00");
    EXPECT_EQ(formatNumber(1234567.891, "#0.00"), "1234567.89");
}

TEST(DisplayFormat, OtherPatternCharacters) {
    EXPECT_EQ(formatNumber(1234567.891, "#,##0.00"), "1,234,567.89");
    EXPECT_EQ(formatNumber(5, "0.##"), "5");
    EXPECT_EQ(formatNumber(5.5, "0.0#"), "5.5");
    EXPECT_EQ(formatNumber(7, "000"), "007");
    EXPECT_EQ(formatNumber(0.5, "#.#"), ".5");
    EXPECT_EQ(formatNumber(12, "\"NT$\"#0 'ea'"), "NT$12 ea");
    EXPECT_EQ(formatNumber(-3, "#0;(#0);zero"), "(3)");
    EXPECT_EQ(formatNumber(0, "#0;(#0);zero"), "zero");
}

TEST(EditMask, LaysStoredDigitsIntoTheMask) {
    const EditMask m = EditMask::parse("!00-00-0;0;");
    EXPECT_FALSE(m.saveLiterals);
    EXPECT_EQ(m.blank, '_');
    EXPECT_EQ(m.apply("12345"), "12-34-5");
    EXPECT_EQ(m.apply("123"), "12-3_-_");
    EXPECT_EQ(m.apply("1234567"), "12-34-5");

    const EditMask kept = EditMask::parse(">LL-00;1;*");
    EXPECT_TRUE(kept.saveLiterals);
    EXPECT_EQ(kept.apply("ab-12"), "AB-12");
    EXPECT_EQ(kept.apply("ab"), "AB-**");
}
