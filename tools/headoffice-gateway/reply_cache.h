#pragma once
// Replies kept for identical statements (qor-gateway --reply-cache-seconds): a statement
// answered less than the given time ago gets that reply's bytes again, and a statement
// asked again while its first answer is still being made waits for that answer instead of
// running a second time. Only whole packet replies of successful statements are kept; the
// bytes kept stay under a bound, the oldest going first.
//
// Used on the gateway's network thread only: no locking.
#include <chrono>
#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qor::headoffice {

struct CachedReply {
    std::string bytes;  // head and body, as sent
    std::size_t rows = 0;
};

class ReplyCache {
public:
    using Clock = std::chrono::steady_clock;
    // Gets the reply once the answer being made is ready; nullptr when it could not be kept
    // (an error reply, one cut off, one past the bound): the waiter then runs the statement.
    using Waiter = std::function<void(std::shared_ptr<const CachedReply>)>;

    // `lifetime` 0: nothing is kept and lookup() always says to run the statement.
    ReplyCache(std::chrono::milliseconds lifetime, std::size_t maxBytes);

    bool enabled() const { return lifetime_.count() > 0; }
    std::size_t maxBytes() const { return maxBytes_; }

    struct Lookup {
        std::shared_ptr<const CachedReply> reply;  // set: answer with it
        bool run = false;                          // true: run the statement, then complete()
    };
    // A kept reply younger than the lifetime; else, when the statement is being answered,
    // `waiter` is kept for that answer (neither field set); else the caller is to run it.
    Lookup lookup(const std::string& statement, Waiter waiter, Clock::time_point now);

    // The answer to a statement lookup() said to run: `reply` is kept (when within the bound)
    // as of `started`, when the statement began, and every waiter gets it.
    void complete(const std::string& statement, std::shared_ptr<const CachedReply> reply,
                  Clock::time_point started);

    std::size_t bytesKept() const { return bytesKept_; }

private:
    struct Entry {
        std::shared_ptr<const CachedReply> reply;  // null while being answered
        Clock::time_point answeredAt;
        std::vector<Waiter> waiters;
        std::list<std::string>::iterator age;  // place in oldest_, when kept
    };
    void drop(std::map<std::string, Entry>::iterator entry);

    std::chrono::milliseconds lifetime_;
    std::size_t maxBytes_;
    std::size_t bytesKept_ = 0;
    std::map<std::string, Entry> entries_;
    std::list<std::string> oldest_;  // kept statements, oldest first
};

}  // namespace qor::headoffice
