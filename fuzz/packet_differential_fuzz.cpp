// The scan and the XML parser read the same bytes alike: whatever the scan takes, the parser
// takes too and gives the same table; and readPacket, which scans first, fails exactly when
// the parser fails and otherwise gives the parser's table. A reply read while it arrives, in
// small pieces, gives the parser's table too, or nothing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "dataset/packet.h"
#include "dataset/packet_reading.h"
#include "gateway/early_packet_reader.h"
#include "packet_checks.h"
#include "text/errors.h"

namespace {

template <typename Read>
std::optional<qor::ds::Table> tableOrNothing(Read read) {
    try {
        return read();
    } catch (const qor::Error&) {
        return std::nullopt;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qor::ds;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto parsed = tableOrNothing([&] { return packet::readPacketThroughDocument(bytes); });
    const auto read = tableOrNothing([&] { return readPacket(bytes); });
    QOR_FUZZ_EXPECT(parsed.has_value() == read.has_value());
    if (parsed) QOR_FUZZ_EXPECT(qor::fuzz::sameTable(*read, *parsed));

    Table scanned;
    if (packet::scanPacket(bytes, scanned)) {
        QOR_FUZZ_EXPECT(parsed.has_value());
        QOR_FUZZ_EXPECT(qor::fuzz::sameTable(scanned, *parsed));
    }

    qor::gateway::EarlyPacketReader early(16);
    for (std::size_t arrived = 7; arrived < bytes.size(); arrived += 7)
        early.bodyGrew(bytes.substr(0, arrived));
    early.bodyGrew(bytes);
    if (const auto arrived = early.finish(bytes)) {
        QOR_FUZZ_EXPECT(parsed.has_value());
        QOR_FUZZ_EXPECT(qor::fuzz::sameTable(*arrived, *parsed));
    }
    return 0;
}
