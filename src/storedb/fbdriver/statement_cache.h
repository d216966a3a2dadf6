#pragma once
// An attachment's prepared statements, kept by text and reused when the same text comes again.
// Bounded: past the capacity the least recently used idle statement is freed. A statement in
// use by a cursor is never handed out twice; a second user of the same text gets one of its own.
#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

#include "statement.h"

namespace qor::fbdriver {

class StatementCache {
public:
    explicit StatementCache(std::size_t capacity) : capacity_(capacity) {}

    // An idle statement prepared from `sql`, made most recently used; nullptr when none.
    std::shared_ptr<Statement> takeIdle(const std::string& sql);
    // Keeps a newly prepared statement, then frees idle ones past the capacity.
    void add(std::shared_ptr<Statement> statement);
    // Frees idle statements past the capacity (after one in use was given back).
    void trim();
    // Every statement kept, in use or idle.
    template <typename F>
    void forEach(F&& f) {
        for (auto& statement : entries_) f(*statement);
    }
    // Frees every statement on the server and forgets it (before the attachment goes). A
    // cursor still holding one finds it dropped.
    void dropAll();
    std::size_t size() const { return entries_.size(); }

private:
    using Entries = std::list<std::shared_ptr<Statement>>;
    std::size_t capacity_;
    Entries entries_;  // most recently used first
    std::unordered_multimap<std::string, Entries::iterator> bySql_;
};

}  // namespace qor::fbdriver
