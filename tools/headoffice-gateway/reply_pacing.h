#pragma once
// Slowing replies down on purpose (qor-gateway --delay): the body goes out in pieces with a
// pause before each, so a store sees its bytes arrive over about the time asked for.
#include <chrono>
#include <cstddef>

namespace qor::headoffice {

class ReplyPacing {
public:
    static constexpr int kPieces = 20;

    // `total` 0: no pauses at all.
    explicit ReplyPacing(std::chrono::milliseconds total) : total_(total) {}

    bool paused() const { return total_.count() > 0; }
    // The size of each piece of a body of `size` bytes sent whole, so it goes in kPieces.
    static std::size_t pieceSize(std::size_t size) { return size / kPieces + 1; }
    // Sleeps total / kPieces before each of the first kPieces pieces; later pieces (a long
    // reply written as its rows are read) go at once.
    void beforePiece();

private:
    std::chrono::milliseconds total_;
    int pauses_ = 0;
};

}  // namespace qor::headoffice
