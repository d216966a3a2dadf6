#include <gtest/gtest.h>

#include "dataset/dataset.h"
#include "error_text.h"
#include "text/cp950.h"
#include "text/errors.h"

using namespace qor::ds;

namespace {

const LocateOptions kBoth{true, true};

class Locate : public ::testing::Test {
protected:
    void SetUp() override {
        Table t;
        t.columns = {{"NAME", FieldKind::String, 30}, {"QTY", FieldKind::Integer},
                     {"PRICE", FieldKind::Float},     {"SINCE", FieldKind::Date},
                     {"NOTE", FieldKind::Memo},       {"OK", FieldKind::Boolean}};
        auto add = [&](std::string name, std::int64_t qty, double price, Date since, bool ok) {
            t.rows.push_back({std::move(name), qty, price, since, std::string(), ok});
        };
        add("Acme Trading", 5, 1.5, {2024, 1, 2}, true);
        add("O'Brien Foods", 7, 2.25, {2023, 6, 1}, false);
        // A double-byte character whose trail byte is a lowercase "a" (0x61).
        add(QOR_BIG5("兀") + "ab", 9, 3, {2022, 3, 4}, true);
        add("acme tools", 5, 4, {2021, 1, 1}, false);
        ds.openWith(std::move(t));
    }
    std::string current() { return ds.fieldByName("NAME").asString(); }
    std::string errorOf(std::string_view field, std::string_view text) {
        return qor::test::errorOf([&] { ds.locate(field, text, kBoth); });
    }
    Dataset ds{"CDS_Fac"};
};

}  // namespace

TEST_F(Locate, TextPrefixWithoutRegardToAsciiCase) {
    EXPECT_TRUE(ds.locate("NAME", "ACME T", kBoth));
    EXPECT_EQ(current(), "Acme Trading");
    EXPECT_TRUE(ds.locate("name", "acme to", kBoth));
    EXPECT_EQ(current(), "acme tools");
    EXPECT_TRUE(ds.locate("NAME", "o'b", kBoth));  // a quote is just a character
    EXPECT_EQ(current(), "O'Brien Foods");
    EXPECT_FALSE(ds.locate("NAME", "Trading", kBoth));  // only at the start
    EXPECT_EQ(current(), "O'Brien Foods");
}

TEST_F(Locate, DoubleByteCharactersAreNeverCaseFolded) {
    const std::string xu = QOR_BIG5("兀");
    ASSERT_EQ(xu.size(), 2u);
    std::string folded = xu;
    folded[1] = char(folded[1] - 'a' + 'A');  // "A" in place of the trail byte "a"
    EXPECT_FALSE(ds.locate("NAME", folded, kBoth));
    EXPECT_TRUE(ds.locate("NAME", xu + "AB", kBoth));
}

TEST_F(Locate, OptionsOff) {
    EXPECT_FALSE(ds.locate("NAME", "acme trading", {false, false}));
    EXPECT_FALSE(ds.locate("NAME", "Acme", {false, false}));
    EXPECT_TRUE(ds.locate("NAME", "acme trading", {true, false}));
    EXPECT_TRUE(ds.locate("NAME", "Acme", {false, true}));
}

TEST_F(Locate, NumbersDatesAndBooleansCompareAsValues) {
    EXPECT_TRUE(ds.locate("QTY", "9", kBoth));
    EXPECT_EQ(ds.recNo(), 3);
    EXPECT_TRUE(ds.locate("QTY", "5", kBoth));  // the first in the current order
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_TRUE(ds.locate("PRICE", "2.250", kBoth));
    EXPECT_EQ(ds.recNo(), 2);
    EXPECT_TRUE(ds.locate("SINCE", "2021/1/1", kBoth));
    EXPECT_EQ(ds.recNo(), 4);
    EXPECT_TRUE(ds.locate("OK", "false", kBoth));
    EXPECT_EQ(ds.recNo(), 2);
    EXPECT_FALSE(ds.locate("QTY", "", kBoth));  // no row without a value
    ds.addIndex("iNAME", "NAME", "NAME");
    ds.setIndexName("iNAME");
    EXPECT_TRUE(ds.locate("QTY", "5", kBoth));
    EXPECT_EQ(current(), "acme tools");
}

TEST_F(Locate, UnreadableTextAndUnsupportedKindsFail) {
    ds.locate("QTY", "7", kBoth);
    EXPECT_EQ(errorOf("PRICE", "abc"), "'abc' is not a valid floating point value");
    EXPECT_EQ(errorOf("SINCE", "x"), "'x' is not a valid date");
    EXPECT_EQ(errorOf("QTY", "1.5"), "'1.5' is not a valid integer value");
    EXPECT_EQ(errorOf("NOTE", "a"), "Field 'NOTE' is of an unsupported type");
    EXPECT_EQ(errorOf("NOPE", "a"), "CDS_Fac: Field 'NOPE' not found");
    EXPECT_EQ(ds.recNo(), 2);
}

TEST_F(Locate, PostsAPendingEditFirst) {
    int scrolls = 0;
    ds.afterScroll = [&](Dataset&) { ++scrolls; };
    ds.fieldByName("NAME").setAsString("Zed");
    EXPECT_TRUE(ds.locate("NAME", "zed", kBoth));
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_EQ(scrolls, 0);  // the row found is the row that was current
    EXPECT_TRUE(ds.locate("NAME", "acme", kBoth));
    EXPECT_EQ(current(), "acme tools");
    EXPECT_EQ(scrolls, 1);
    ds.close();
    EXPECT_THROW(ds.locate("NAME", "a", kBoth), qor::Error);
}
