// The direct scan of the plain packet form on any bytes: it either gives the text up or gives
// a well-formed table, and never reads outside the text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dataset/packet_reading.h"
#include "packet_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qor::ds::Table table;
    if (qor::ds::packet::scanPacket(bytes, table)) qor::fuzz::expectWellFormed(table);
    return 0;
}
