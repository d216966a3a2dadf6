// The packet a long reply is written as, a row at a time, against the whole-table writer the
// stores' packets have always come from: the same bytes for every kind of value.
#include <gtest/gtest.h>

#include "dataset/packet.h"
#include "packet_rows.h"

using namespace qor;
using qor::headoffice::PacketRowWriter;

TEST(PacketRows, HeadRowsAndTailAreTheBytesOfTheWholePacket) {
    ds::Table table;
    table.lcid = 1028;
    table.columns = {{"NAME", ds::FieldKind::String, 20, 0, true, false},
                     {"QTY", ds::FieldKind::Integer},
                     {"PRICE", ds::FieldKind::Float},
                     {"AMOUNT", ds::FieldKind::BCD, 18, 2},
                     {"DAY", ds::FieldKind::Date},
                     {"AT", ds::FieldKind::DateTime, 0, 0, false, true},
                     {"NOTE", ds::FieldKind::Memo},
                     {"RAW", ds::FieldKind::Binary},
                     {"OK", ds::FieldKind::Boolean}};
    table.rows.push_back({std::string("A&B <\"x\"> 'y'\r\n"), std::int64_t{-7}, 0.1, 12.25,
                          ds::Date{2024, 1, 31}, ds::DateTime{{2024, 2, 29}, {23, 59, 58, 7}},
                          std::string("memo\ttext"), std::string("\x01\xff", 2), true});
    table.rows.push_back({std::monostate{}, std::monostate{}, 1e300, std::monostate{},
                          std::monostate{}, std::monostate{}, std::string(), std::monostate{},
                          false});

    PacketRowWriter writer(table.columns, table.lcid);
    std::string packet;
    writer.appendHead(packet);
    for (const ds::Row& row : table.rows) writer.appendRow(packet, row);
    PacketRowWriter::appendTail(packet);
    EXPECT_EQ(packet, ds::writePacket(table));

    ds::Table none = table;
    none.rows.clear();
    std::string empty;
    writer.appendHead(empty);
    PacketRowWriter::appendTail(empty);
    EXPECT_EQ(empty, ds::writePacket(none));
}

TEST(PacketRows, AStringColumnWithoutASizeWaitsForEveryRow) {
    EXPECT_TRUE(PacketRowWriter::canWrite({{"A", ds::FieldKind::String, 5}, {"B", ds::FieldKind::Integer}}));
    EXPECT_FALSE(PacketRowWriter::canWrite({{"A", ds::FieldKind::String, 0}}));
}
