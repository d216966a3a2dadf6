#pragma once
// Where a worker sends the reply to the request it runs: the store's connection. The bytes
// go out on the gateway's network thread; the worker only hands them over.
#include <cstddef>
#include <optional>
#include <string>

namespace qor::headoffice {

// What the request's log line says beside its status.
struct ReplyOutcome {
    std::optional<std::size_t> rows;  // rows of a packet reply
    std::string error;                // message of a "<RESULT>" reply, or why it was cut off
    bool cutOff = false;
    bool cached = false;              // the bytes came from the reply cache
};

class ReplySink {
public:
    virtual ~ReplySink() = default;
    // Hands the next bytes of the reply over. Waits while the piece before is still going
    // out, so a store that reads slowly holds the rows back rather than the gateway's memory
    // growing. False once the store has gone or did not take a piece within the write wait:
    // the rest of the reply is not wanted.
    virtual bool send(std::string bytes) = 0;
    // The reply is over: once its last piece has gone out, the log line is written and the
    // connection closed. Does not wait.
    virtual void finish(ReplyOutcome outcome) = 0;
};

}  // namespace qor::headoffice
