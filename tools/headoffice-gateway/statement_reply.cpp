#include "statement_reply.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

#include "gateway_reply.h"
#include "head_office_database.h"
#include "packet_stream.h"
#include "reply_head.h"
#include "reply_pacing.h"

namespace qor::headoffice {

void ReplyCapture::add(const std::string& piece) {
    if (overflow) return;
    if (bytes.size() + piece.size() > limit) {
        overflow = true;
        bytes = std::string();
        return;
    }
    bytes += piece;
}

namespace {

// Sends through the sink and into the capture.
struct Sender {
    ReplySink& sink;
    ReplyCapture* capture;
    bool send(std::string bytes) {
        if (capture) capture->add(bytes);
        return sink.send(std::move(bytes));
    }
};

// A reply of known length: its head, then the body at once, or in paced pieces.
bool sendWhole(Sender& out, const std::string& body, ReplyPacing& pacing) {
    if (!pacing.paused()) return out.send(wholeReplyHead(body.size()) + body);
    if (!out.send(wholeReplyHead(body.size()))) return false;
    const std::size_t piece = ReplyPacing::pieceSize(body.size());
    for (std::size_t at = 0; at < body.size(); at += piece) {
        pacing.beforePiece();
        if (!out.send(body.substr(at, piece))) return false;
    }
    return true;
}

// Chunked: a reply cut off by a failed read then lacks its last chunk as well as its
// packet's end, and a store reading it reports a broken connection instead of rows.
bool sendChunked(Sender& out, PacketStream& stream, ReplyPacing& pacing, ReplyOutcome& outcome) {
    if (!out.send(chunkedReplyHead())) return false;
    std::string piece;
    for (;;) {
        try {
            if (!stream.nextPiece(piece)) return out.send(std::string(kLastChunk));
        } catch (const std::exception& e) {
            outcome.error = e.what();
            outcome.cutOff = true;
            return false;
        }
        outcome.rows = stream.rowCount();
        pacing.beforePiece();
        std::string framed;
        framed.reserve(piece.size() + 16);
        appendChunk(framed, piece);
        if (!out.send(std::move(framed))) return false;
    }
}

}  // namespace

void sendStatementReply(HeadOfficeDatabase& database, const std::string& statement,
                        std::chrono::milliseconds delay, ReplySink& sink, ReplyCapture* capture) {
    ReplyOutcome outcome;
    ReplyPacing pacing(delay);
    Sender out{sink, capture};
    try {
        std::optional<PacketStream> stream;
        std::string body;
        try {
            stream.emplace(database.open(statement));
            outcome.rows = stream->rowCount();
            if (stream->whole()) body = stream->takeWholePacket();
        } catch (const std::exception& e) {
            stream.reset();
            outcome.rows.reset();
            outcome.error = e.what();
            body = resultReply(outcome.error);
        }
        const bool packet = outcome.error.empty();
        bool sent;
        if (stream && !stream->whole()) sent = sendChunked(out, *stream, pacing, outcome);
        else sent = sendWhole(out, body, pacing);
        if (capture) {
            capture->packet = packet && !outcome.cutOff;
            capture->complete = sent;
            capture->rows = outcome.rows.value_or(0);
        }
    } catch (const std::exception& e) {
        // Out of memory making a piece: the reply ends where it is.
        outcome.error = e.what();
        outcome.cutOff = true;
    }
    sink.finish(std::move(outcome));
}

}  // namespace qor::headoffice
