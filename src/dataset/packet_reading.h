#pragma once
// The two ways a packet's text is read. readPacket tries the scan first and reads through the
// XML parser when the scan gives up; both give the same table for any packet the scan takes.
#include <string_view>

#include "dataset/value.h"

namespace qor::ds::packet {

// Reads a packet written in the plain form gateways use (elements, attributes, whitespace, a
// leading XML declaration) straight from the bytes, without copying the text or building a
// document tree. False, with `out` untouched, for any other form and for any fault.
bool scanPacket(std::string_view bytes, Table& out);

// Reads any packet through the XML parser; fails with a qor::Error describing the first fault.
Table readPacketThroughDocument(std::string_view bytes);

}  // namespace qor::ds::packet
