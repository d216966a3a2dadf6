#pragma once
// The display text of a field's value, shared by the field itself (its current row) and the
// row access a grid uses (any row), so both always show the same text.
#include <string>

#include "dataset/field.h"
#include "dataset/value.h"

namespace qor::ds {

// Null: the empty text. A text field with an edit mask: the value laid into the mask (the
// empty text stays empty). A number with a display format: the formatted number. Anything
// else: the plain text of the value.
std::string displayTextOf(const FieldDef& def, const Value& value);

}  // namespace qor::ds
