#include "gateway/reply_reader.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "gateway/transport_failure.h"

namespace qor::gateway {

namespace {
constexpr std::size_t kReadSize = 64 * 1024;         // into the line buffer
constexpr std::size_t kBodyReadSize = 1024 * 1024;   // straight into the body
// Room made at once for a body of announced length; a larger one grows as it comes, so a
// false length cannot make us take memory for bytes that never arrive.
constexpr std::size_t kMostReservedAtOnce = 16 * 1024 * 1024;
const char* const kClosed = "Connection closed gracefully.";
}  // namespace

ReplyReader::ReplyReader(SocketConnection& connection, std::chrono::milliseconds limit)
    : ReplyReader(
          [&connection](char* buffer, std::size_t size, std::chrono::milliseconds wait) {
              return connection.readSome(buffer, size, wait);
          },
          limit) {}

ReplyReader::ReplyReader(ReadSome readSome, std::chrono::milliseconds limit)
    : readSome_(std::move(readSome)), limit_(limit) {}

void ReplyReader::stopWaitingAt(Clock::time_point deadline) { deadline_ = deadline; }

std::size_t ReplyReader::readSome(char* into, std::size_t size) {
    auto wait = limit_;
    if (deadline_) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - Clock::now());
        if (left.count() <= 0) throw TransportFailure("Read timed out.");
        wait = std::min(wait, left);
    }
    return readSome_(into, size, wait);
}

bool ReplyReader::fill() {
    if (pos_ > 0 && pos_ >= buffer_.size() / 2) {
        buffer_.erase(0, pos_);
        pos_ = 0;
    }
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kReadSize);
    std::size_t got = 0;
    try {
        got = readSome(buffer_.data() + old, kReadSize);
    } catch (...) {
        buffer_.resize(old);
        throw;
    }
    buffer_.resize(old + got);
    return got > 0;
}

std::string ReplyReader::take(std::size_t count) {
    std::string out = buffer_.substr(pos_, count);
    pos_ += count;
    scanned_ = 0;
    return out;
}

std::string ReplyReader::readLine() {
    while (true) {
        auto lf = buffer_.find('\n', pos_ + scanned_);
        if (lf != std::string::npos) {
            std::string line = take(lf - pos_);
            ++pos_;  // the LF
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.size() > kMaxHeaderLine) throw TransportFailure("Maximum line length exceeded.");
            return line;
        }
        scanned_ = buffered();
        // One byte more than the limit may still be the CR of a line of full length.
        if (buffered() > kMaxHeaderLine + 1) throw TransportFailure("Maximum line length exceeded.");
        if (!fill()) throw TransportFailure(kClosed);
    }
}

void ReplyReader::makeRoom(std::size_t bytes) {
    // Grown by doubling, so each byte is cleared about once before it is overwritten.
    if (body_.size() - bodySize_ < bytes)
        body_.resize(std::max(bodySize_ + bytes, body_.size() * 2));
}

void ReplyReader::startBody() {
    body_.clear();
    bodySize_ = 0;
}

std::size_t ReplyReader::receive(std::size_t most) {
    std::size_t got = 0;
    if (buffered() > 0) {
        got = std::min(most, buffered());
        makeRoom(got);
        std::memcpy(body_.data() + bodySize_, buffer_.data() + pos_, got);
        pos_ += got;
        scanned_ = 0;
    } else {
        const std::size_t want = std::min(most, kBodyReadSize);
        makeRoom(want);
        got = readSome(body_.data() + bodySize_, want);
    }
    bodySize_ += got;
    if (got > 0 && watcher_) watcher_->bodyGrew(std::string_view(body_.data(), bodySize_));
    return got;
}

std::string ReplyReader::takeBody() {
    body_.resize(bodySize_);
    bodySize_ = 0;
    return std::move(body_);
}

std::string ReplyReader::readUpTo(std::size_t count) {
    startBody();
    body_.resize(std::min(count, kMostReservedAtOnce));
    while (bodySize_ < count && receive(count - bodySize_) > 0) {
    }
    return takeBody();
}

std::string ReplyReader::readToClose() {
    startBody();
    while (receive(kBodyReadSize) > 0) {
    }
    return takeBody();
}

std::string ReplyReader::readChunked() {
    startBody();
    while (true) {
        std::string line = readLine();
        std::size_t at = line.find_first_not_of(" \t");
        std::size_t size = 0, digits = 0;
        for (; at != std::string::npos && at < line.size(); ++at, ++digits) {
            char c = line[at];
            int value = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (value < 0) break;
            if (digits >= 15) throw TransportFailure("Invalid chunk size.");
            size = size * 16 + static_cast<std::size_t>(value);
        }
        if (digits == 0) throw TransportFailure("Invalid chunk size.");
        if (size == 0) break;
        for (std::size_t left = size; left > 0;) {
            const std::size_t got = receive(left);
            if (got == 0) throw TransportFailure(kClosed);
            left -= got;
        }
        readLine();  // the CR LF that ends the chunk's data
    }
    // Trailer lines up to the empty line; a gateway that closes instead is fine too.
    try {
        while (!readLine().empty()) {
        }
    } catch (const TransportFailure&) {
    }
    return takeBody();
}

}  // namespace qor::gateway
