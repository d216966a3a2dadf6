#include "statement_cache.h"

namespace qor::fbdriver {

std::shared_ptr<Statement> StatementCache::takeIdle(const std::string& sql) {
    auto [first, last] = bySql_.equal_range(sql);
    for (auto it = first; it != last; ++it) {
        Entries::iterator entry = it->second;
        if ((*entry)->inUse() || (*entry)->dropped()) continue;
        entries_.splice(entries_.begin(), entries_, entry);
        return *entry;
    }
    return nullptr;
}

void StatementCache::add(std::shared_ptr<Statement> statement) {
    entries_.push_front(statement);
    bySql_.emplace(statement->sql(), entries_.begin());
    trim();
}

void StatementCache::trim() {
    auto it = entries_.end();
    while (entries_.size() > capacity_ && it != entries_.begin()) {
        --it;
        if ((*it)->inUse()) continue;
        auto [first, last] = bySql_.equal_range((*it)->sql());
        for (auto index = first; index != last; ++index) {
            if (index->second == it) {
                bySql_.erase(index);
                break;
            }
        }
        (*it)->drop();
        it = entries_.erase(it);
    }
}

void StatementCache::dropAll() {
    for (auto& statement : entries_) statement->drop();
    entries_.clear();
    bySql_.clear();
}

}  // namespace qor::fbdriver
