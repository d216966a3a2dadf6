#include "gateway/early_packet_reader.h"

#include <exception>

namespace qor::gateway {

namespace {

constexpr std::string_view kRowData = "<ROWDATA>";
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

template <typename Step>
bool EarlyPacketReader::scanned(Step step) {
    try {
        return step();
    } catch (const std::exception&) {
        return false;
    }
}

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
    return scanned([&] { return scan_.readHead(head_); });
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
    // The piece must lie inside the first ROWDATA, which the scan sees to: one that closed
    // it would put the rows after it in the wrong place.
    const std::string_view piece = soFar.substr(next_, cut - next_);
    if (!scanned([&] { return scan_.readPiece(piece); })) {
        aside_ = true;
        return;
    }
    next_ = cut;
}

std::optional<ds::Table> EarlyPacketReader::finish(std::string_view reply) {
    if (aside_ || head_.empty() || reply.size() < next_ || !reply.starts_with(head_))
        return std::nullopt;
    ds::Table table;
    if (!scanned([&] { return scan_.finish(reply.substr(next_), table); })) return std::nullopt;
    return table;
}

}  // namespace qor::gateway
