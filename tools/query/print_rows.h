#pragma once
#include <ostream>

#include "dataset/dataset.h"

namespace qor::query {

// Tab-separated lines: the column names first, then each row's values as text, CP950
// shown as UTF-8. Walks the dataset from its first row.
void printRows(ds::Dataset& dataset, std::ostream& out);

}  // namespace qor::query
