#pragma once
// The packet's "fieldtype" names and the field kinds they stand for.
#include <cstdint>
#include <optional>
#include <string_view>

#include "dataset/value.h"

namespace qor::ds::packet {

// What a FIELD's type gives: the kind, and for integer types the range a value must lie in.
struct FieldType {
    FieldKind kind = FieldKind::String;
    std::int64_t min = 0;
    std::int64_t max = 0;
};

// The type a FIELD's fieldtype (and SUBTYPE, for bin.hex) describes; none for an unknown
// type. Names compare without regard to case.
std::optional<FieldType> fieldTypeNamed(std::string_view fieldType, std::string_view subType);

// What a writer puts in fieldtype for a kind; memo and binary both are "bin.hex", told apart
// by SUBTYPE="Text" on the memo.
std::string_view fieldTypeOf(FieldKind kind);

}  // namespace qor::ds::packet
