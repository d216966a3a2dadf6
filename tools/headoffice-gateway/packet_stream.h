#pragma once
// A packet reply made from a result cursor. The first rows are read before anything is sent,
// so a statement that fails at once still gets its "<RESULT>" reply. A result that ends
// within them is answered whole, a text of known length, exactly as ds::writePacket writes
// it. A longer one is given a piece at a time while the rest is read, so the memory a reply
// takes does not grow with the result: the same bytes, in pieces.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "head_office_database.h"
#include "packet_rows.h"

namespace qor::headoffice {

class PacketStream {
public:
    static constexpr std::size_t kRowsPerPiece = 256;

    // Reads the first `rowsPerPiece` rows. Fails with the database's message.
    explicit PacketStream(std::unique_ptr<ResultCursor> cursor,
                          std::size_t rowsPerPiece = kRowsPerPiece);

    // The result ended within the first rows, or its packet cannot be written before every
    // row is known (a string column without a size): takeWholePacket() gives the reply.
    bool whole() const { return whole_.has_value(); }
    std::string takeWholePacket() { return std::move(*whole_); }

    // For a result that is not whole: replaces `out` with the next piece of the packet (its
    // head and first rows, then further rows; the last piece ends the packet). False, with
    // `out` empty, once everything has been given. When reading rows fails, fails with the
    // database's message and the packet stays unfinished: no reader takes it for complete.
    bool nextPiece(std::string& out);

    // Rows read so far.
    std::size_t rowCount() const { return rowCount_; }

private:
    void readRows(std::size_t most);

    std::unique_ptr<ResultCursor> cursor_;
    std::size_t rowsPerPiece_;
    std::vector<ds::Row> rows_;
    std::optional<PacketRowWriter> writer_;
    std::optional<std::string> whole_;
    bool headGiven_ = false;
    bool ended_ = false;
    std::size_t rowCount_ = 0;
};

}  // namespace qor::headoffice
