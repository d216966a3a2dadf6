#pragma once
// Reads a data packet's rows while the reply is still arriving, so that little is left to do
// when its last byte comes: a gateway sends a long reply over as long as its database takes
// to give the rows, and the reading would otherwise only start after that.
//
// It reads only the plain form gateways write (the packet scan's): the head once, then the
// rows in pieces cut just before a ROW of the first ROWDATA, then the rest once the reply is
// in. A piece or a head it cannot read that way, an error reply, or a packet whose rows do
// not stand in one run make it stand aside, and the reply is then loaded whole as always.
// What it gives is the table that reading the whole reply at once gives.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "dataset/packet_reading.h"
#include "dataset/value.h"
#include "gateway/body_watcher.h"

namespace qor::gateway {

class EarlyPacketReader : public BodyWatcher {
public:
    // Rows are read once this many bytes have come after the last piece read.
    static constexpr std::size_t kPieceBytes = 64 * 1024;

    explicit EarlyPacketReader(std::size_t pieceBytes = kPieceBytes) : pieceBytes_(pieceBytes) {}

    void bodyGrew(std::string_view soFar) override;

    // The table of the whole reply `reply` (the body watched), reading what is left of it;
    // nullopt when nothing was read early or it stood aside: then load `reply` as always.
    std::optional<ds::Table> finish(std::string_view reply);

private:
    bool findHead(std::string_view soFar);
    // One step of the scan; false when it gave up or failed.
    template <typename Step>
    bool scanned(Step step);

    std::size_t pieceBytes_;
    bool aside_ = false;
    std::string head_;         // the packet up to and including "<ROWDATA>"
    std::size_t next_ = 0;     // where the next piece begins in the body
    std::size_t searched_ = 0; // body bytes already searched for "<ROWDATA>"
    ds::packet::PacketScanInPieces scan_;
};

}  // namespace qor::gateway
