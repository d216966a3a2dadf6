#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dataset/packet.h"
#include "packet_test_support.h"

using namespace qor::ds;
using packet_test::big5;
using packet_test::expectSameTable;

namespace {

Table everyKind() {
    Table t;
    t.lcid = 1028;
    t.columns = {
        {"NAME", FieldKind::String, 20, 0, true, false},
        {"SMALL", FieldKind::SmallInt},
        {"WORD", FieldKind::Word},
        {"QTY", FieldKind::Integer, 0, 0, false, true},
        {"BIG", FieldKind::LargeInt},
        {"PRICE", FieldKind::Float},
        {"AMOUNT", FieldKind::BCD, 0, 2},
        {"ACTIVE", FieldKind::Boolean},
        {"DAY", FieldKind::Date},
        {"AT", FieldKind::Time},
        {"STAMP", FieldKind::DateTime},
        {"NOTE", FieldKind::Memo},
        {"PICTURE", FieldKind::Binary},
    };
    using I = std::int64_t;
    t.rows.push_back({big5("許功蓋豆腐"), I{-32768}, I{65535}, I{-2147483647 - 1},
                      std::numeric_limits<I>::min(), 0.1, 1234.5, true, Date{2024, 2, 29},
                      Time{12, 30, 5, 0}, DateTime{{1999, 12, 31}, {23, 59, 59, 999}},
                      big5("育院\r\n第二行"), std::string("\x00\xff\x5c\x7c", 4)});
    t.rows.push_back({std::string(), I{32767}, I{0}, I{2147483647},
                      std::numeric_limits<I>::max(), -2.5e-300, -0.05, false, Date{1, 1, 1},
                      Time{0, 0, 0, 7}, DateTime{{2024, 1, 2}, {3, 4, 5, 0}}, std::string(),
                      std::string()});
    t.rows.push_back(Row(t.columns.size()));  // every value null
    t.rows.push_back({std::string("A&B<C>\"D\"'E'\t\x01\x1f"), std::monostate{}, I{1}, I{0},
                      I{0}, 1.0 / 3.0, 1e300, std::monostate{}, std::monostate{},
                      std::monostate{}, std::monostate{}, std::string("x&y"), std::monostate{}});
    return t;
}

}  // namespace

TEST(PacketRoundTrip, EveryKindReadsBackAsWritten) {
    const Table t = everyKind();
    const std::string written = writePacket(t);
    const Table read = readPacket(written);
    expectSameTable(read, t);
    // Writing what was read gives the same bytes again.
    EXPECT_EQ(writePacket(read), written);
}

TEST(PacketRoundTrip, Big5BytesAreWrittenAsTheyAre) {
    // Trail bytes 0x5C "\", 0x7C "|", 0x40 "@", 0x5B, 0x5D, 0x7B, 0x7D.
    const std::string name = big5("許功育院一久也廾弓商品");
    Table t;
    t.columns = {{"PROD_NAME", FieldKind::String, 50}};
    t.rows = {{name}};
    const std::string written = writePacket(t);
    EXPECT_NE(written.find(" PROD_NAME=\"" + name + "\""), std::string::npos);
    expectSameTable(readPacket(written), t);
}

TEST(PacketRoundTrip, NullIsAnAbsentAttributeAndEmptyTextIsKept) {
    Table t;
    t.columns = {{"A", FieldKind::String, 5}, {"B", FieldKind::String, 5}};
    t.rows = {{std::monostate{}, std::string()}};
    const std::string written = writePacket(t);
    EXPECT_NE(written.find("<ROW B=\"\"/>"), std::string::npos) << written;
    const Table read = readPacket(written);
    EXPECT_TRUE(isNull(read.rows[0][0]));
    EXPECT_EQ(std::get<std::string>(read.rows[0][1]), "");
}

TEST(PacketRoundTrip, EscapesSpecialAndControlCharacters) {
    Table t;
    t.columns = {{"T", FieldKind::String, 40}};
    t.rows = {{std::string("&<>\"'\r\n\t\x01 z")}};
    const std::string written = writePacket(t);
    EXPECT_NE(written.find("T=\"&amp;&lt;&gt;&quot;&apos;&#13;&#10;&#9;&#1; z\""),
              std::string::npos)
        << written;
    expectSameTable(readPacket(written), t);
}

TEST(PacketRoundTrip, FloatsUseTheShortestTextThatReadsBack) {
    Table t;
    t.columns = {{"F", FieldKind::Float}, {"N", FieldKind::BCD, 0, 4}};
    t.rows = {{95.0, 12.5}, {0.1, 1e21}, {1e21, 0.0001}};
    const std::string written = writePacket(t);
    EXPECT_NE(written.find("<ROW F=\"95\" N=\"12.5\"/>"), std::string::npos) << written;
    EXPECT_NE(written.find("<ROW F=\"0.1\" N=\"1000000000000000000000\"/>"), std::string::npos);
    EXPECT_NE(written.find("<ROW F=\"1e+21\" N=\"0.0001\"/>"), std::string::npos);
    expectSameTable(readPacket(written), t);
}

TEST(PacketRoundTrip, StringWithoutSizeGetsTheWidthOfItsLongestValue) {
    Table t;
    t.columns = {{"S", FieldKind::String, 0}};
    t.rows = {{std::string("abc")}, {big5("商品資料")}};
    const Table read = readPacket(writePacket(t));
    EXPECT_EQ(read.columns[0].size, 8);
    EXPECT_EQ(read.rows[1][0], t.rows[1][0]);
}
