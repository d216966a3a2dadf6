#include <gtest/gtest.h>

#include "dataset/dataset.h"
#include "dataset/packet.h"
#include "packet_test_support.h"
#include "text/errors.h"

using namespace qor::ds;
using packet_test::big5;
using packet_test::packetWith;

namespace {

const std::string customerPacket = packetWith(
    "<FIELD attrname=\"CUST_ID\" fieldtype=\"string\" WIDTH=\"10\"/>"
    "<FIELD attrname=\"CUST_NAME\" fieldtype=\"string\" WIDTH=\"50\"/>"
    "<FIELD attrname=\"U_DIS\" fieldtype=\"r8\"/>",
    "<ROW CUST_ID=\"A001\" CUST_NAME=\"" + big5("許功蓋商行") + "\" U_DIS=\"95\"/>"
    "<ROW CUST_ID=\"A002\" CUST_NAME=\"\"/>");

}  // namespace

TEST(PacketLoad, OpensOnThePacketsFieldsAndRows) {
    Dataset cds("CDS_Cust");
    loadPacket(cds, customerPacket);
    ASSERT_TRUE(cds.active());
    ASSERT_EQ(cds.fieldCount(), 3);
    EXPECT_EQ(cds.field(1).fieldName(), "CUST_NAME");
    EXPECT_EQ(cds.field(1).size(), 50);
    EXPECT_EQ(cds.recordCount(), 2);
    EXPECT_EQ(cds.recNo(), 1);
    EXPECT_EQ(cds.fieldByName("cust_name").asString(), big5("許功蓋商行"));
    EXPECT_EQ(cds.fieldByName("U_DIS").asFloat(), 95.0);
    cds.next();
    EXPECT_TRUE(cds.fieldByName("U_DIS").isNull());
    EXPECT_EQ(cds.fieldByName("CUST_NAME").asString(), "");
}

TEST(PacketLoad, ReloadReplacesTheFields) {
    Dataset cds("CDS_Source");
    loadPacket(cds, customerPacket);
    loadPacket(cds, packetWith("<FIELD attrname=\"N\" fieldtype=\"i4\"/>", "<ROW N=\"7\"/>"));
    ASSERT_EQ(cds.fieldCount(), 1);
    EXPECT_EQ(cds.fieldByName("N").asInteger(), 7);
    EXPECT_EQ(cds.findField("CUST_ID"), nullptr);
}

TEST(PacketLoad, EmptyTextLeavesTheTargetClosedWithoutFields) {
    Dataset cds("CDS_Fac");
    loadPacket(cds, customerPacket);
    loadPacket(cds, "");
    EXPECT_FALSE(cds.active());
    EXPECT_EQ(cds.fieldCount(), 0);
}

TEST(PacketLoad, FailedLoadLeavesTheTargetClosedWithoutFields) {
    Dataset cds("ClientDataSet1");
    loadPacket(cds, customerPacket);
    EXPECT_THROW(loadPacket(cds, "<RESULT>bad</RESULT>"), qor::Error);
    EXPECT_FALSE(cds.active());
    EXPECT_EQ(cds.fieldCount(), 0);
    EXPECT_THROW(loadPacket(cds, packetWith("<FIELD attrname=\"N\" fieldtype=\"i4\"/>",
                                            "<ROW N=\"x\"/>")),
                 qor::Error);
    EXPECT_FALSE(cds.active());
}
