#pragma once
// Buffered reading of a reply from the gateway connection: lines, counted bytes, chunks and
// everything up to the close.
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "gateway/body_watcher.h"
#include "gateway/socket_connection.h"

namespace qor::gateway {

// Longest status or header line accepted, CR LF not counted.
inline constexpr std::size_t kMaxHeaderLine = 65000;

class ReplyReader {
public:
    using Clock = std::chrono::steady_clock;
    // Where the bytes come from: up to `size` bytes into `buffer`, waiting at most `limit`;
    // 0 once the other side has closed. Failures are TransportFailures.
    using ReadSome =
        std::function<std::size_t(char* buffer, std::size_t size, std::chrono::milliseconds limit)>;

    // Every wait for data lasts at most `limit`.
    ReplyReader(SocketConnection& connection, std::chrono::milliseconds limit);
    // Reads what `readSome` hands over, as from a connection (replies kept as bytes).
    ReplyReader(ReadSome readSome, std::chrono::milliseconds limit);

    // From now on waits also end at `deadline`: passing it fails as a read time out.
    void stopWaitingAt(Clock::time_point deadline);
    // Told about every block of body read from now on; nullptr: nobody.
    void watchBody(BodyWatcher* watcher) { watcher_ = watcher; }

    // A line up to LF, without the LF and a CR before it. Fails with "Maximum line length
    // exceeded." beyond kMaxHeaderLine characters, and with "Connection closed gracefully."
    // when the connection closes before the LF.
    std::string readLine();

    // The body framings. Each reads the body into one string, straight from the connection
    // where it can, and returns it.
    // `count` bytes, or fewer when the connection closes first.
    std::string readUpTo(std::size_t count);
    // Everything until the connection closes.
    std::string readToClose();
    // A body in the chunked transfer coding, trailers read and dropped.
    std::string readChunked();

private:
    bool fill();  // more bytes into the line buffer; false once the connection has closed
    // One wait for data, at most `size` bytes into `into`; 0 once the connection has closed.
    // Every byte of a reply comes through here.
    std::size_t readSome(char* into, std::size_t size);
    // Appends up to `most` bytes to the body: buffered ones first, else one read straight
    // into it. 0 once the connection has closed. Every byte of a body comes through here and
    // every block is shown to the watcher: the place for progress and a stop request.
    std::size_t receive(std::size_t most);
    void makeRoom(std::size_t bytes);
    // A body begins: nothing of it read yet, whatever a body before it left behind.
    void startBody();
    std::string takeBody();
    std::size_t buffered() const { return buffer_.size() - pos_; }
    std::string take(std::size_t count);

    ReadSome readSome_;
    std::chrono::milliseconds limit_;
    std::optional<Clock::time_point> deadline_;
    std::string buffer_;
    std::size_t pos_ = 0;
    std::size_t scanned_ = 0;  // bytes after pos_ already searched for LF
    // The body being read: it grows ahead of the bytes, which land in it directly.
    std::string body_;
    std::size_t bodySize_ = 0;
    BodyWatcher* watcher_ = nullptr;
};

}  // namespace qor::gateway
