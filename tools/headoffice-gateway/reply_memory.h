#pragma once
// A long reply is made of pieces of some hundred kilobytes, one after another on every
// worker. glibc would map each piece's memory from the system and give it back when the piece
// has gone out, or trim the heap after it: a page fault for every page of every piece, most
// of the gateway's time in a chain's morning. Kept instead, the memory of a piece serves the
// next one; what is kept stays bounded by the pieces in flight.
namespace qor::headoffice {

// Call once at start-up, before any other thread exists.
void keepReplyMemory();

}  // namespace qor::headoffice
