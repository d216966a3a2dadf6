// The reading through the XML parser on any bytes: a table it reads is well formed, and the
// packet writer writes it so that it reads back the same. Every fault is a qor::Error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dataset/packet.h"
#include "dataset/packet_reading.h"
#include "packet_checks.h"
#include "text/errors.h"

namespace {

// "ui4" values above the i4 range are read into integer fields, which the writer writes as
// "i4": the one way a table read from a packet does not write back. Gateways only write i4.
bool writesBack(const qor::ds::Table& table) {
    for (const qor::ds::Row& row : table.rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            if (const auto* i = std::get_if<std::int64_t>(&row[c]))
                if (table.columns[c].kind == qor::ds::FieldKind::Integer && *i > 2147483647LL)
                    return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qor::ds::Table table;
    try {
        table = qor::ds::packet::readPacketThroughDocument(bytes);
    } catch (const qor::Error&) {
        return 0;
    }
    qor::fuzz::expectWellFormed(table);
    if (!writesBack(table)) return 0;
    qor::ds::Table again;
    try {
        again = qor::ds::readPacket(qor::ds::writePacket(table));
    } catch (const qor::Error&) {
        QOR_FUZZ_EXPECT(!"the written packet reads back");
    }
    QOR_FUZZ_EXPECT(qor::fuzz::sameTable(again, table));
    return 0;
}
