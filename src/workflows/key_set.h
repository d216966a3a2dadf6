#pragma once
// A set of texts built once and asked often, kept flat: the texts one after another in one
// buffer, and an open-addressed table of where each starts, with its hash. A store's hundred
// thousand keys cost a handful of allocations instead of one a key, and asking reads one slot
// and, when the hash matches, the text: no chain of nodes spread over the heap.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qor::workflows {

class KeySet {
public:
    // Keeps `key` (its bytes, copied); false when it was kept already. Throws std::length_error
    // past 4 GB of keys.
    bool insert(std::string_view key);
    bool contains(std::string_view key) const;
    std::size_t size() const { return size_; }
    void clear();

private:
    struct Slot {
        std::uint64_t hash = 0;  // 0: empty (a key whose hash is 0 is kept as 1)
        std::uint32_t offset = 0;  // in texts_
        std::uint32_t length = 0;
    };
    static std::uint64_t hashOf(std::string_view key);
    // The slot that holds `key`, or the empty slot where it would go.
    std::size_t slotOf(std::string_view key, std::uint64_t hash) const;
    void grow();

    std::string texts_;
    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

}  // namespace qor::workflows
