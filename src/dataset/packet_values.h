#pragma once
// Value texts of a packet: reading an attribute's text as a field's type, and writing a value.
#include <string>
#include <string_view>

#include "dataset/packet_types.h"
#include "dataset/value.h"

namespace qor::ds::packet {

// Reads `text` (references already resolved) as a value of the column. A text wider than a
// string column's size is cut to it. Empty text is the empty text for string, memo and binary
// columns, and a null for the others. False when the text cannot be read as the type.
bool readValue(const FieldType& type, int size, std::string_view text, Value& out);

// Appends the value's text, escaped for an attribute value. Not for nulls.
void appendValue(std::string& out, FieldKind kind, const Value& value);

}  // namespace qor::ds::packet
