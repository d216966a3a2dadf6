#pragma once
// The store program a test kills during a transfer: the test binary started again with
//     fault_tests --transfer-child <folder>
// <folder> holds httpset.ini (the head-office gateway) and the two definition files (the store
// database). The child lists the promotions, checks the first one, and so transfers it; when
// the transfer has written part of its items it creates <folder>/under-way and holds there
// until it is killed.
namespace qor::test {

inline constexpr const char* kTransferChildFlag = "--transfer-child";
inline constexpr const char* kUnderWayMarker = "under-way";

// Runs the child; returns its exit status (it returns at all only when something failed).
int runTransferChild(const char* folder);

}  // namespace qor::test
