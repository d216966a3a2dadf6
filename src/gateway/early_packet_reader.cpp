#include "gateway/early_packet_reader.h"

#include <exception>
#include <iterator>

#include "dataset/packet_reading.h"

namespace qor::gateway {

namespace {

constexpr std::string_view kRowData = "<ROWDATA>";
constexpr std::string_view kTail = "</ROWDATA></DATAPACKET>";
// A head (declaration and METADATA) longer than this is no packet of ours.
constexpr std::size_t kLongestHead = 1024 * 1024;

bool isNameEnd(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>';
}

// Where the last "<ROW" element in `text` after `from` starts; npos when there is none.
std::size_t lastRowStart(std::string_view text, std::size_t from) {
    for (std::size_t at = text.size(); at > from;) {
        at = text.rfind("<ROW", at - 1);
        if (at == std::string_view::npos || at <= from) return std::string_view::npos;
        if (at + 4 < text.size() && isNameEnd(text[at + 4])) return at;
    }
    return std::string_view::npos;
}

}  // namespace

bool EarlyPacketReader::findHead(std::string_view soFar) {
    if (soFar.starts_with("<RESULT>")) return false;
    const std::size_t from = searched_ >= kRowData.size() ? searched_ - kRowData.size() : 0;
    const std::size_t at = soFar.find(kRowData, from);
    if (at == std::string_view::npos) {
        searched_ = soFar.size();
        return soFar.size() <= kLongestHead;
    }
    // The first ROWDATA must be the one found: an earlier "<ROWDATA/>" or one spelled
    // otherwise would make the rows after it belong elsewhere.
    if (soFar.find("ROWDATA") != at + 1) return false;
    head_ = soFar.substr(0, at + kRowData.size());
    next_ = head_.size();
    return readPiece({}, false).has_value();  // the head alone: a packet without rows
}

std::optional<ds::Table> EarlyPacketReader::readPiece(std::string_view piece, bool last) {
    text_.assign(head_);
    text_.append(piece);
    if (!last) text_.append(kTail);
    ds::Table table;
    try {
        if (!ds::packet::scanPacket(text_, table)) return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return table;
}

void EarlyPacketReader::keepRows(ds::Table& table) {
    rows_.insert(rows_.end(), std::make_move_iterator(table.rows.begin()),
                 std::make_move_iterator(table.rows.end()));
}

void EarlyPacketReader::bodyGrew(std::string_view soFar) {
    if (aside_ || soFar.size() < next_ + pieceBytes_) return;
    if (head_.empty()) {
        if (!findHead(soFar)) aside_ = true;
        if (head_.empty() || aside_) return;
    }
    if (soFar.size() < next_ + pieceBytes_) return;
    const std::size_t cut = lastRowStart(soFar, next_);
    if (cut == std::string_view::npos) return;
    const std::string_view piece = soFar.substr(next_, cut - next_);
    // A piece must lie inside the first ROWDATA: one that closes it would put the rows after
    // it in the wrong place.
    std::optional<ds::Table> rows;
    if (piece.find("</ROWDATA") == std::string_view::npos) rows = readPiece(piece, false);
    if (!rows) {
        aside_ = true;
        return;
    }
    keepRows(*rows);
    next_ = cut;
}

std::optional<ds::Table> EarlyPacketReader::finish(std::string_view reply) {
    if (aside_ || head_.empty() || reply.size() < next_ ||
        reply.substr(0, head_.size()) != head_)
        return std::nullopt;
    std::optional<ds::Table> last = readPiece(reply.substr(next_), true);
    if (!last) return std::nullopt;
    keepRows(*last);
    last->rows = std::move(rows_);
    return last;
}

}  // namespace qor::gateway
