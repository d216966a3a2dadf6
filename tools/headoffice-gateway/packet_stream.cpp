#include "packet_stream.h"

#include "dataset/packet.h"

namespace qor::headoffice {

PacketStream::PacketStream(std::unique_ptr<ResultCursor> cursor, std::size_t rowsPerPiece)
    : cursor_(std::move(cursor)), rowsPerPiece_(rowsPerPiece > 0 ? rowsPerPiece : 1) {
    readRows(rowsPerPiece_);
    if (!cursor_->atEnd() && PacketRowWriter::canWrite(cursor_->columns())) {
        writer_.emplace(cursor_->columns(), cursor_->lcid());
        return;
    }
    while (!cursor_->atEnd()) readRows(rowsPerPiece_);
    ds::Table table;
    table.columns = cursor_->columns();
    table.lcid = cursor_->lcid();
    table.rows = std::move(rows_);
    cursor_.reset();  // the connection is free again before the reply goes out
    whole_ = ds::writePacket(table);
}

void PacketStream::readRows(std::size_t most) {
    const std::size_t before = rows_.size();
    cursor_->fetch(most, rows_);
    rowCount_ += rows_.size() - before;
}

bool PacketStream::nextPiece(std::string& out) {
    out.clear();
    if (ended_ || whole_) return false;
    if (!headGiven_) {
        writer_->appendHead(out);
        headGiven_ = true;
    } else {
        rows_.clear();
        readRows(rowsPerPiece_);
    }
    for (const ds::Row& row : rows_) writer_->appendRow(out, row);
    if (cursor_->atEnd()) {
        PacketRowWriter::appendTail(out);
        ended_ = true;
        cursor_.reset();
    }
    return true;
}

}  // namespace qor::headoffice
