#pragma once
#include "dataset/value.h"

namespace qor::ds {

// Order of two values of one column: null first, then by value; texts byte by byte as
// they are (letter case counts).
int compareValues(const Value& a, const Value& b);

}  // namespace qor::ds
