#pragma once
// The two ways a packet's text is read. readPacket tries the scan first and reads through the
// XML parser when the scan gives up; both give the same table for any packet the scan takes.
#include <memory>
#include <string_view>

#include "dataset/value.h"

namespace qor::ds::packet {

// Reads a packet written in the plain form gateways use (elements, attributes, whitespace, a
// leading XML declaration) straight from the bytes, without copying the text or building a
// document tree. False, with `out` untouched, for any other form and for any fault.
bool scanPacket(std::string_view bytes, Table& out);

// Reads any packet through the XML parser; fails with a qor::Error describing the first fault.
Table readPacketThroughDocument(std::string_view bytes);

class Scanner;

// The scan of a packet whose text comes in pieces, for rows read while a reply arrives: the
// head, then the content of its first ROWDATA in pieces, then the rest. Together they give
// the table scanPacket gives for the whole text. Every step is false when the text it is
// given does not fit that plan or is outside the plain form; the scan is then over, and the
// packet is read whole.
class PacketScanInPieces {
public:
    PacketScanInPieces();
    ~PacketScanInPieces();
    PacketScanInPieces(const PacketScanInPieces&) = delete;
    PacketScanInPieces& operator=(const PacketScanInPieces&) = delete;

    // The text up to and including the start tag of the root's first ROWDATA, the fields
    // before it.
    bool readHead(std::string_view head);
    // Whitespace and whole elements inside that ROWDATA: every element the piece opens, it
    // closes, and ROWDATA stays open.
    bool readPiece(std::string_view piece);
    // The text after the last piece to the end of the packet; the table into `out`.
    bool finish(std::string_view rest, Table& out);

private:
    std::unique_ptr<Scanner> scanner_;
};

}  // namespace qor::ds::packet
