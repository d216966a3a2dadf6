#include <gtest/gtest.h>

#include "dataset/packet.h"
#include "packet_test_support.h"
#include "text/errors.h"

using namespace qor::ds;
using packet_test::big5;
using packet_test::packetWith;

TEST(PacketRead, FieldTypesGiveTheirKinds) {
    const Table t = readPacket(packetWith(
        "<FIELD attrname=\"S\" fieldtype=\"string\" WIDTH=\"7\"/>"
        "<FIELD attrname=\"I2\" fieldtype=\"i2\"/><FIELD attrname=\"I1\" fieldtype=\"i1\"/>"
        "<FIELD attrname=\"U1\" fieldtype=\"ui1\"/><FIELD attrname=\"U2\" fieldtype=\"ui2\"/>"
        "<FIELD attrname=\"I4\" fieldtype=\"i4\"/><FIELD attrname=\"U4\" fieldtype=\"ui4\"/>"
        "<FIELD attrname=\"I8\" fieldtype=\"i8\"/><FIELD attrname=\"R8\" fieldtype=\"r8\"/>"
        "<FIELD attrname=\"FX\" fieldtype=\"fixed\" DECIMALS=\"3\" WIDTH=\"15\"/>"
        "<FIELD attrname=\"B\" fieldtype=\"boolean\"/><FIELD attrname=\"D\" fieldtype=\"date\"/>"
        "<FIELD attrname=\"T\" fieldtype=\"time\"/><FIELD attrname=\"DT\" fieldtype=\"dateTime\"/>"
        "<FIELD attrname=\"SDT\" fieldtype=\"SQLdateTime\"/>"
        "<FIELD attrname=\"M\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>"
        "<FIELD attrname=\"BIN\" fieldtype=\"bin.hex\" SUBTYPE=\"Binary\"/>"
        "<FIELD attrname=\"BLOB\" fieldtype=\"bin.hex\"/>",
        "<ROW U4=\"4294967295\" T=\"12:30:05000\" SDT=\"20240102T03:04:05123\" BIN=\"0aFf\""
        " B=\"true\" FX=\"-1.250\"/>"));
    const FieldKind expected[] = {
        FieldKind::String,  FieldKind::SmallInt, FieldKind::SmallInt, FieldKind::SmallInt,
        FieldKind::Word,    FieldKind::Integer,  FieldKind::Integer,  FieldKind::LargeInt,
        FieldKind::Float,   FieldKind::BCD,      FieldKind::Boolean,  FieldKind::Date,
        FieldKind::Time,    FieldKind::DateTime, FieldKind::DateTime, FieldKind::Memo,
        FieldKind::Binary,  FieldKind::Binary};
    ASSERT_EQ(t.columns.size(), std::size(expected));
    for (std::size_t i = 0; i < t.columns.size(); ++i)
        EXPECT_EQ(t.columns[i].kind, expected[i]) << t.columns[i].name;
    EXPECT_EQ(t.columns[0].size, 7);
    EXPECT_EQ(t.columns[9].decimals, 3);
    const Row& row = t.rows.at(0);
    EXPECT_EQ(std::get<std::int64_t>(row[6]), 4294967295LL);
    EXPECT_EQ(std::get<double>(row[9]), -1.25);
    EXPECT_EQ(std::get<bool>(row[10]), true);
    EXPECT_EQ(std::get<Time>(row[12]), (Time{12, 30, 5, 0}));
    EXPECT_EQ(std::get<DateTime>(row[14]), (DateTime{{2024, 1, 2}, {3, 4, 5, 123}}));
    EXPECT_EQ(std::get<std::string>(row[16]), "\x0a\xff");
}

TEST(PacketRead, RequiredReadonlyAndLcidAreKept) {
    const Table t = readPacket(
        "<DATAPACKET><METADATA><FIELDS>"
        "<FIELD attrname=\"ID\" fieldtype=\"string\" WIDTH=\"10\" required=\"true\" readonly=\"TRUE\"/>"
        "<FIELD attrname=\"N\" fieldtype=\"i4\" required=\"false\"/>"
        "</FIELDS><PARAMS LCID=\"1028\" CHANGE_LOG=\"1 0 4\" DATASET_DELTA=\"1\"/></METADATA>"
        "<ROWDATA/></DATAPACKET>");
    EXPECT_TRUE(t.columns[0].required);
    EXPECT_TRUE(t.columns[0].readOnly);
    EXPECT_FALSE(t.columns[1].required);
    EXPECT_FALSE(t.columns[1].readOnly);
    EXPECT_EQ(t.lcid, 1028);
    EXPECT_TRUE(t.rows.empty());
}

TEST(PacketRead, IsLenientAboutTheShapeAroundTheData) {
    // No declaration, whitespace everywhere, unknown elements and attributes, RowState,
    // attribute names in any letter case, attributes out of field order.
    const std::string bytes =
        "\r\n <DATAPACKET Version=\"2.0\">\n  <METADATA>\n   <FIELDS>\n"
        "    <FIELD ATTRNAME=\"CUST_ID\" FieldType=\"string\" width=\"10\"/>\n"
        "    <EXTRA/>\n"
        "    <FIELD attrName=\"U_DIS\" FIELDTYPE=\"r8\"/>\n"
        "   </FIELDS>\n   <PARAMS LCID=\"0\" OTHER=\"x\"/>\n  </METADATA>\n  <NOTES a=\"b\"/>\n"
        "  <ROWDATA>\n"
        "   <ROW RowState=\"4\" U_DIS=\"95\" cust_id=\"A001\"/>\n"
        "   <SOMETHING/>\n"
        "   <ROW Cust_Id=\"A002\"/>\n"
        "  </ROWDATA>\n </DATAPACKET>\n";
    const Table t = readPacket(bytes);
    ASSERT_EQ(t.columns.size(), 2u);
    EXPECT_EQ(t.columns[0].name, "CUST_ID");
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(std::get<std::string>(t.rows[0][0]), "A001");
    EXPECT_EQ(std::get<double>(t.rows[0][1]), 95.0);
    EXPECT_EQ(std::get<std::string>(t.rows[1][0]), "A002");
    EXPECT_TRUE(isNull(t.rows[1][1]));
}

TEST(PacketRead, EncodingDeclarationIsIgnored) {
    const std::string name = big5("許功蓋院");
    for (const char* encoding : {"utf-8", "big5", "ISO-8859-1", "UTF-16"}) {
        const std::string bytes = std::string("<?xml version=\"1.0\" encoding=\"") + encoding +
                                  "\"?><DATAPACKET><METADATA><FIELDS>"
                                  "<FIELD attrname=\"N\" fieldtype=\"string\" WIDTH=\"20\"/>"
                                  "</FIELDS></METADATA><ROWDATA><ROW N=\"" + name +
                                  "\"/></ROWDATA></DATAPACKET>";
        const Table t = readPacket(bytes);
        EXPECT_EQ(std::get<std::string>(t.rows.at(0)[0]), name) << encoding;
    }
}

TEST(PacketRead, NumericReferencesAboveAsciiBecomeBig5) {
    const std::string fields = "<FIELD attrname=\"N\" fieldtype=\"string\" WIDTH=\"20\"/>";
    const Table t = readPacket(packetWith(fields, "<ROW N=\"&#21830;&#x54C1;&#65;&#x42;\"/>"));
    EXPECT_EQ(std::get<std::string>(t.rows[0][0]), big5("商品") + "AB");
    // U+1F600 has no code page 950 character.
    EXPECT_THROW(readPacket(packetWith(fields, "<ROW N=\"&#128512;\"/>")), qor::Error);
}

TEST(PacketRead, TextsAreCutToWidthWithoutSplittingACharacter) {
    const std::string fields = "<FIELD attrname=\"N\" fieldtype=\"string\" WIDTH=\"5\"/>"
                               "<FIELD attrname=\"M\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>";
    const std::string text = "A" + big5("商品資");
    const Table t = readPacket(packetWith(fields, "<ROW N=\"" + text + "\" M=\"" + text + "\"/>"));
    EXPECT_EQ(std::get<std::string>(t.rows[0][0]), "A" + big5("商品"));
    EXPECT_EQ(std::get<std::string>(t.rows[0][1]), text);  // a memo has no width
}

TEST(PacketRead, EmptyNumberIsNullAndLiteralWhitespaceIsABlank) {
    const Table t = readPacket(packetWith(
        "<FIELD attrname=\"Q\" fieldtype=\"i4\"/><FIELD attrname=\"S\" fieldtype=\"string\" WIDTH=\"9\"/>",
        "<ROW Q=\"\" S=\"a\tb\r\nc\"/>"));
    EXPECT_TRUE(isNull(t.rows[0][0]));
    EXPECT_EQ(std::get<std::string>(t.rows[0][1]), "a b c");
}
