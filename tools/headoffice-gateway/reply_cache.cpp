#include "reply_cache.h"

namespace qor::headoffice {

ReplyCache::ReplyCache(std::chrono::milliseconds lifetime, std::size_t maxBytes)
    : lifetime_(lifetime), maxBytes_(maxBytes) {}

void ReplyCache::drop(std::map<std::string, Entry>::iterator entry) {
    if (entry->second.reply) {
        bytesKept_ -= entry->second.reply->bytes.size();
        oldest_.erase(entry->second.age);
    }
    entries_.erase(entry);
}

ReplyCache::Lookup ReplyCache::lookup(const std::string& statement, Waiter waiter,
                                      Clock::time_point now) {
    Lookup result;
    if (!enabled()) {
        result.run = true;
        return result;
    }
    auto found = entries_.find(statement);
    if (found != entries_.end()) {
        Entry& entry = found->second;
        if (!entry.reply) {
            entry.waiters.push_back(std::move(waiter));
            return result;
        }
        if (now - entry.answeredAt < lifetime_) {
            result.reply = entry.reply;
            return result;
        }
        drop(found);
    }
    entries_.emplace(statement, Entry{});
    result.run = true;
    return result;
}

void ReplyCache::complete(const std::string& statement, std::shared_ptr<const CachedReply> reply,
                          Clock::time_point started) {
    auto found = entries_.find(statement);
    if (found == entries_.end()) return;
    std::vector<Waiter> waiters = std::move(found->second.waiters);
    if (reply && reply->bytes.size() <= maxBytes_) {
        // Replies kept longest go first, expired ones among them.
        while (bytesKept_ + reply->bytes.size() > maxBytes_ && !oldest_.empty())
            drop(entries_.find(oldest_.front()));
        Entry& entry = found->second;
        entry.reply = reply;
        entry.answeredAt = started;
        entry.waiters.clear();
        entry.age = oldest_.insert(oldest_.end(), statement);
        bytesKept_ += reply->bytes.size();
    } else {
        entries_.erase(found);
    }
    for (Waiter& waiter : waiters) waiter(reply);
}

}  // namespace qor::headoffice
