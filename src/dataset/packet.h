#pragma once
// Data packets: the XML text a gateway reply carries (see docs in the packet-format notes).
#include <string>
#include <string_view>

#include "dataset/dataset.h"
#include "dataset/value.h"

namespace qor::ds {

// Reads a packet; fails with a qor::Error describing the first fault.
Table readPacket(std::string_view bytes);

// Writes the table as a packet.
std::string writePacket(const Table& table);

// Closes the target and drops its undeclared fields; an empty text stops there (the target
// stays closed); otherwise opens the target on the packet. A failed load leaves it closed.
void loadPacket(Dataset& target, std::string_view bytes);

}  // namespace qor::ds
