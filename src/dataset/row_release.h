#pragma once
// Frees the rows of a large table on a thread of its own. A closed dataset of tens of
// thousands of rows takes milliseconds to free, value by value, and nothing the caller does
// next needs that memory back first: a download replacing its previous list, say, need not
// wait for the old list to go. Small tables are freed at once, on the caller's thread.
#include <vector>

#include "dataset/value.h"

namespace qor::ds {

// Takes the rows (leaving `rows` empty) and frees them, now or shortly on the release
// thread. Never throws: when the thread cannot be had, the rows are freed here.
void releaseRows(std::vector<Row>& rows) noexcept;

}  // namespace qor::ds
