#include <gtest/gtest.h>

#include "dataset/packet.h"
#include "packet_test_support.h"
#include "text/errors.h"

using namespace qor::ds;
using packet_test::packetWith;

namespace {

void expectLoadFails(const std::string& bytes) {
    EXPECT_THROW(readPacket(bytes), qor::Error) << bytes;
}

const std::string idField = "<FIELD attrname=\"ID\" fieldtype=\"string\" WIDTH=\"4\"/>";

// A packet with one field of the type and one row holding the value.
std::string oneValue(const std::string& type, const std::string& value) {
    return packetWith("<FIELD attrname=\"V\" fieldtype=\"" + type + "\"/>",
                      "<ROW V=\"" + value + "\"/>");
}

}  // namespace

TEST(PacketFailure, ShapeFaults) {
    expectLoadFails("");
    expectLoadFails("  \r\n");
    expectLoadFails("<RESULT>no such table</RESULT> trailing <");
    expectLoadFails(packetWith(idField, "<ROW ID=\"A\">"));                  // not well-formed
    expectLoadFails("<DATAPAKET><METADATA><FIELDS/></METADATA></DATAPAKET>");  // wrong root
    expectLoadFails("<DATAPACKET><METADATA/><ROWDATA/></DATAPACKET>");          // no FIELDS
    expectLoadFails("<DATAPACKET><FIELDS/><ROWDATA/></DATAPACKET>");            // no METADATA
}

TEST(PacketFailure, FieldFaults) {
    expectLoadFails(packetWith("<FIELD fieldtype=\"i4\"/>", ""));
    expectLoadFails(packetWith("<FIELD attrname=\"\" fieldtype=\"i4\"/>", ""));
    expectLoadFails(packetWith("<FIELD attrname=\"A\"/>", ""));
    expectLoadFails(packetWith("<FIELD attrname=\"A\" fieldtype=\"varchar\"/>", ""));
    expectLoadFails(packetWith(idField + "<FIELD attrname=\"id\" fieldtype=\"i4\"/>", ""));
    expectLoadFails(packetWith("<FIELD attrname=\"S\" fieldtype=\"string\"/>", ""));
    expectLoadFails(packetWith("<FIELD attrname=\"S\" fieldtype=\"string\" WIDTH=\"0\"/>", ""));
    expectLoadFails(packetWith("<FIELD attrname=\"S\" fieldtype=\"string\" WIDTH=\"-3\"/>", ""));
    expectLoadFails(packetWith("<FIELD attrname=\"S\" fieldtype=\"string\" WIDTH=\"x\"/>", ""));
}

TEST(PacketFailure, ValuesThatAreNotTheirType) {
    expectLoadFails(oneValue("i4", "abc"));
    expectLoadFails(oneValue("i4", "12 "));
    expectLoadFails(oneValue("i4", "2147483648"));
    expectLoadFails(oneValue("i2", "40000"));
    expectLoadFails(oneValue("ui2", "-1"));
    expectLoadFails(oneValue("i8", "1.5"));
    expectLoadFails(oneValue("r8", "1,5"));
    expectLoadFails(oneValue("r8", "1e999"));
    expectLoadFails(oneValue("fixed", "12.5x"));
    expectLoadFails(oneValue("boolean", "yes"));
    expectLoadFails(oneValue("date", "20230229"));
    expectLoadFails(oneValue("date", "2023-01-01"));
    expectLoadFails(oneValue("time", "24:00:00"));
    expectLoadFails(oneValue("time", "12:00"));
    expectLoadFails(oneValue("dateTime", "20230101 12:00:00"));
    expectLoadFails(oneValue("bin.hex", "ABC"));
    expectLoadFails(oneValue("bin.hex", "GG"));
}

TEST(PacketFailure, BadReferences) {
    expectLoadFails(packetWith(idField, "<ROW ID=\"&nbsp;\"/>"));
    expectLoadFails(packetWith(idField, "<ROW ID=\"a & b\"/>"));
    expectLoadFails(packetWith(idField, "<ROW ID=\"&#xZZ;\"/>"));
    expectLoadFails(packetWith(idField, "<ROW ID=\"&#1114112;\"/>"));
}

TEST(PacketFailure, ValidValuesNextToTheFaultsAreRead) {
    // Guards the cases above: each differs from a readable value in the one fault.
    EXPECT_NO_THROW(readPacket(oneValue("i4", "-2147483648")));
    EXPECT_NO_THROW(readPacket(oneValue("r8", "-1.5E-3")));
    EXPECT_NO_THROW(readPacket(oneValue("date", "20240229")));
    EXPECT_NO_THROW(readPacket(oneValue("time", "23:59:59")));
    EXPECT_NO_THROW(readPacket(oneValue("dateTime", "20230101T12:00:00")));
    EXPECT_NO_THROW(readPacket(oneValue("bin.hex", "ABCD")));
    EXPECT_NO_THROW(readPacket(packetWith(idField, "<ROW ID=\"&#x41;&amp;\"/>")));
}
