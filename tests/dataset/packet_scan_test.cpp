// The direct scan of the plain packet form against the reading through the XML parser: for
// every text the scan takes, both must give the same table.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "dataset/packet.h"
#include "dataset/packet_reading.h"
#include "packet_test_support.h"
#include "text/errors.h"

using namespace qor::ds;
using packet_test::big5;
using packet_test::packetWith;

namespace {

bool sameValue(const Value& a, const Value& b) {
    if (a.index() != b.index()) return false;
    if (const auto* x = std::get_if<double>(&a)) {
        const double y = std::get<double>(b);
        return std::memcmp(x, &y, sizeof y) == 0;  // tells -0 from 0 and takes NaN as itself
    }
    return a == b;
}

bool sameTable(const Table& a, const Table& b) {
    if (a.lcid != b.lcid || a.columns.size() != b.columns.size() || a.rows.size() != b.rows.size())
        return false;
    for (std::size_t c = 0; c < a.columns.size(); ++c) {
        const ColumnDef& x = a.columns[c];
        const ColumnDef& y = b.columns[c];
        if (x.name != y.name || x.kind != y.kind || x.size != y.size || x.decimals != y.decimals ||
            x.required != y.required || x.readOnly != y.readOnly)
            return false;
    }
    for (std::size_t r = 0; r < a.rows.size(); ++r) {
        if (a.rows[r].size() != b.rows[r].size()) return false;
        for (std::size_t c = 0; c < a.rows[r].size(); ++c)
            if (!sameValue(a.rows[r][c], b.rows[r][c])) return false;
    }
    return true;
}

// The text is scanned, and gives what the parser gives.
void expectScanned(const std::string& bytes) {
    Table scanned;
    ASSERT_TRUE(packet::scanPacket(bytes, scanned)) << bytes;
    EXPECT_TRUE(sameTable(scanned, packet::readPacketThroughDocument(bytes))) << bytes;
}

// The scan gives the text up; readPacket still reads it as the parser does.
void expectLeftToParser(const std::string& bytes) {
    Table scanned;
    EXPECT_FALSE(packet::scanPacket(bytes, scanned)) << bytes;
    EXPECT_TRUE(sameTable(readPacket(bytes), packet::readPacketThroughDocument(bytes))) << bytes;
}

const std::string fields =
    "<FIELD attrname=\"S\" fieldtype=\"string\" WIDTH=\"7\"/>"
    "<FIELD attrname=\"I\" fieldtype=\"i4\" required=\"true\"/>"
    "<FIELD attrname=\"R\" fieldtype=\"r8\" readonly=\"TRUE\"/>"
    "<FIELD attrname=\"FX\" fieldtype=\"fixed\" DECIMALS=\"2\" WIDTH=\"15\"/>"
    "<FIELD attrname=\"B\" fieldtype=\"boolean\"/><FIELD attrname=\"D\" fieldtype=\"date\"/>"
    "<FIELD attrname=\"T\" fieldtype=\"time\"/><FIELD attrname=\"DT\" fieldtype=\"dateTime\"/>"
    "<FIELD attrname=\"M\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>"
    "<FIELD attrname=\"X\" fieldtype=\"bin.hex\"/>";

std::string sampleRows() {
    return "<ROW RowState=\"4\" S=\"" + big5("許功蓋") + "&amp;\" I=\"-12\" R=\"1.25\" FX=\"3.50\""
           " B=\"TRUE\" D=\"20240229\" T=\"12:30:05\" DT=\"20240101T01:02:03123\""
           " M=\"a&#13;&#10;b&#21830;\" X=\"0aff\"/>"
           "<ROW S=\"\" I=\"7\" R=\"-0.5e3\" B=\"false\"/>"
           "<ROW s='x\"y' i=\"+3\" R=\".5\" M=\"&lt;&gt;&apos;&quot;\"></ROW>";
}

}  // namespace

TEST(PacketScan, PlainPacketsAreScannedAlikeTheParser) {
    expectScanned(packetWith(fields, sampleRows()));
    expectScanned(packetWith(fields, ""));
    // Whitespace around everything, a declaration in single quotes, attributes in any case
    // and order, unknown elements, a repeated attribute, rows with children.
    expectScanned(
        "<?xml version='1.0' encoding='big5' ?>\r\n"
        "<DATAPACKET Version=\"2.0\" >\n <METADATA>\n  <FIELDS >\n"
        "   <FIELD ATTRNAME=\"CUST_ID\" FieldType = \"string\" width=\"10\" />\n"
        "   <EXTRA><FIELD attrname=\"NOT_A_FIELD\" fieldtype=\"i4\"/></EXTRA>\n"
        "   <FIELD attrName=\"U_DIS\" FIELDTYPE=\"r8\"></FIELD>\n"
        "  </FIELDS>\n  <PARAMS LCID=\"1028\" CHANGE_LOG=\"1 0 4\"/>\n </METADATA>\n"
        " <ROWDATA>\n  <ROW RowState=\"4\" U_DIS=\"95\" cust_id=\"A001\"/>\n  <SOMETHING/>\n"
        "  <ROW Cust_Id=\"A002\" CUST_ID=\"A003\"><ROW CUST_ID=\"nested\"/></ROW>\n"
        " </ROWDATA>\n</DATAPACKET>\n\t");
    // Only the first METADATA, its first FIELDS and PARAMS and the first ROWDATA count.
    expectScanned(
        "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"i2\"/></FIELDS>"
        "<FIELDS><FIELD attrname=\"B\" fieldtype=\"i2\"/></FIELDS><PARAMS LCID=\"1\"/>"
        "<PARAMS LCID=\"2\"/></METADATA>"
        "<ROWDATA><ROW A=\"1\"/></ROWDATA><ROWDATA><ROW A=\"2\"/></ROWDATA></DATAPACKET>");
    expectScanned(
        "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"A\" fieldtype=\"i2\"/></FIELDS>"
        "</METADATA><METADATA><PARAMS LCID=\"3\"/></METADATA></DATAPACKET>");
    // Rows after the fields, the metadata after an empty ROWDATA.
    expectScanned(
        "<DATAPACKET><ROWDATA/><METADATA><FIELDS><FIELD attrname=\"" + big5("品名") +
        "\" fieldtype=\"string\" WIDTH=\"4\"/></FIELDS></METADATA></DATAPACKET>");

    Table t;
    t.columns = {{"PROD_ID", FieldKind::String, 20}, {"PRICE", FieldKind::Float},
                 {"QTY", FieldKind::Integer}, {"NAME", FieldKind::String, 10}};
    t.rows.push_back({std::string("4710"), 0.1, std::int64_t{3}, big5("鳳梨酥豆腐乳")});
    t.rows.push_back({Value{}, -std::numeric_limits<double>::denorm_min(), Value{},
                      std::string("a\tb<&>\"'\r\n")});
    expectScanned(writePacket(t));
}

TEST(PacketScan, OtherFormsAreLeftToTheParser) {
    const std::string field = "<FIELD attrname=\"N\" fieldtype=\"string\" WIDTH=\"9\"/>";
    expectLeftToParser(packetWith(field, "<!-- note --><ROW N=\"a\"/>"));
    expectLeftToParser(packetWith(field, "<ROW N=\"a\"/><![CDATA[x]]>"));
    expectLeftToParser(packetWith(field, "<?pi x?><ROW N=\"a\"/>"));
    expectLeftToParser(packetWith(field, "text<ROW N=\"a\"/>"));
    expectLeftToParser(packetWith(field, "<ROW N=\"a\tb\r\nc\"/>"));  // raw whitespace in a value
    expectLeftToParser(packetWith(field, "<ROW N=\"a<b\"/>"));
    expectLeftToParser(packetWith(field, "<ROW N=\"a\x01" "b\"/>"));
    expectLeftToParser(packetWith(field, "<ROW N=\"a\"></ROW >"));
    expectLeftToParser(packetWith(field, "<ROW x:N=\"a\"/>"));
    expectLeftToParser(packetWith(field, "<ROW " + big5("中") + "=\"a\"/>"));
    expectLeftToParser("\xef\xbb\xbf" + packetWith(field, "<ROW N=\"a\"/>"));
    expectLeftToParser(" " + packetWith(field, "<ROW N=\"a\"/>"));
    expectLeftToParser("<!DOCTYPE DATAPACKET>" + packetWith(field, "<ROW N=\"a\"/>"));
    expectLeftToParser(packetWith(field, "<ROW N=\"a\"/>") + "<DATAPACKET/>");
    expectLeftToParser(packetWith(field, "<ROW N=\"a\"/>") + "trailing");
    expectLeftToParser("<?xml version=\"1.0\" st/andalone=\"yes\"?>" +
                       packetWith(field, "<ROW N=\"a\"/>").substr(38));
}

TEST(PacketScan, FaultyPacketsAreLeftToTheParser) {
    const std::string field = "<FIELD attrname=\"N\" fieldtype=\"i4\"/>";
    for (const std::string& bytes : {
             std::string(""),
             std::string("<DATAPACKET/>"),
             std::string("<DATAPAKET><METADATA><FIELDS/></METADATA></DATAPAKET>"),
             std::string("<DATAPACKET><METADATA/><ROWDATA/></DATAPACKET>"),
             "<DATAPACKET><METADATA/><METADATA><FIELDS>" + field + "</FIELDS></METADATA></DATAPACKET>",
             packetWith(field, "<ROW N=\"1\">"),
             packetWith(field, "<ROW N=\"1\"/></ROW>"),
             packetWith(field, "<ROW N=\"1\"M=\"2\"/>"),
             packetWith(field, "<ROW N=\"x\"/>"),
             packetWith(field, "<ROW N=\"&nbsp;\"/>"),
             packetWith(field + field, ""),
             packetWith("<FIELD attrname=\"S\" fieldtype=\"string\"/>", ""),
         }) {
        Table scanned;
        EXPECT_FALSE(packet::scanPacket(bytes, scanned)) << bytes;
        EXPECT_THROW(readPacket(bytes), qor::Error) << bytes;
    }
}

TEST(PacketScan, DamagedPacketsReadAlikeEitherWay) {
    // Packets with bytes inserted, dropped, changed or repeated: whenever the scan takes one,
    // the parser must take it too and give the same table.
    const std::vector<std::string> seeds = {
        packetWith(fields, sampleRows()),
        "\r\n <DATAPACKET>\n <METADATA><FIELDS>\n  <FIELD attrname=\"A\" fieldtype=\"i2\"/>\n"
        " </FIELDS><PARAMS LCID=\"7\"/></METADATA>\n <ROWDATA>\n  <ROW A=\"1\"/>\n  <ROW A='2'/>\n"
        " </ROWDATA>\n</DATAPACKET>\n",
    };
    const std::vector<std::string> pieces = {
        " ", "\t", "\r\n", "<", ">", "/", "/>", "\"", "'", "=", "&", "&amp;", "&#13;", "&#x41;",
        "<!-- c -->", "<?pi x?>", "?>", "<X/>", "</X>", "<X>", "<ROW/>", "<ROW A=\"1\"/>",
        std::string(1, '\0'), "\x01", "\xb0\xa1", "a", "_", "-", ".", ":", "1", "e5", "ROW",
        "FIELD", "FIELDS", "METADATA", "ROWDATA", "PARAMS", "</ROWDATA>", "<ROWDATA>",
        "</FIELDS>", "<FIELDS>", "</METADATA>", " RowState=\"2\"", " q=\"1\"",
        "<FIELD attrname=\"Q\" fieldtype=\"i4\"/>"};
    std::mt19937 random(20240501);
    int scanned = 0;
    for (int i = 0; i < 4000; ++i) {
        std::string bytes = seeds[random() % seeds.size()];
        for (int change = 1 + random() % 3; change > 0; --change) {
            const std::size_t at = random() % (bytes.size() + 1);
            switch (random() % 4) {
            case 0: bytes.insert(at, pieces[random() % pieces.size()]); break;
            case 1: bytes.erase(at, 1 + random() % 8); break;
            case 2:
                if (at < bytes.size()) bytes[at] = static_cast<char>(random() % 256);
                break;
            default: bytes.insert(at, bytes.substr(at, 1 + random() % 20)); break;
            }
        }
        Table fromScan;
        if (!packet::scanPacket(bytes, fromScan)) continue;
        ++scanned;
        Table fromParser;
        ASSERT_NO_THROW(fromParser = packet::readPacketThroughDocument(bytes)) << bytes;
        ASSERT_TRUE(sameTable(fromScan, fromParser)) << bytes;
    }
    EXPECT_GT(scanned, 100);  // the damage left enough packets readable to compare
}
