#pragma once
// A checked statement run on a worker and its reply sent: a data packet of its rows (whole
// with its length, or chunked while the rows are read), or "<RESULT>" and the database's
// message. Stores read these bytes as they are.
#include <chrono>
#include <cstddef>
#include <string>

#include "reply_sink.h"

namespace qor::headoffice {

class HeadOfficeDatabase;

// The reply's bytes as sent, kept for the reply cache while they stay within a bound.
struct ReplyCapture {
    explicit ReplyCapture(std::size_t limit) : limit(limit) {}
    void add(const std::string& bytes);
    // The reply was complete, a packet, and within the bound.
    bool usable() const { return packet && !overflow && complete; }

    std::size_t limit;
    std::string bytes;
    std::size_t rows = 0;
    bool packet = false, overflow = false, complete = false;
};

// Runs `statement` and sends its reply through `sink`, then finishes it. `delay` above 0
// spreads the reply over about that long (ReplyPacing). `capture`, when given, receives the
// bytes sent. Never throws.
void sendStatementReply(HeadOfficeDatabase& database, const std::string& statement,
                        std::chrono::milliseconds delay, ReplySink& sink, ReplyCapture* capture);

}  // namespace qor::headoffice
