#include "workflows/key_set.h"

#include <functional>
#include <stdexcept>

namespace qor::workflows {

std::uint64_t KeySet::hashOf(std::string_view key) {
    const std::uint64_t hash = std::hash<std::string_view>{}(key);
    return hash == 0 ? 1 : hash;
}

bool KeySet::insert(std::string_view key) {
    // At most half the slots full, so a search ends within a few steps.
    if ((size_ + 1) * 2 > slots_.size()) grow();
    const std::uint64_t hash = hashOf(key);
    Slot& slot = slots_[slotOf(key, hash)];
    if (slot.hash != 0) return false;
    if (texts_.size() + key.size() > UINT32_MAX) throw std::length_error("too many keys");
    slot = {hash, static_cast<std::uint32_t>(texts_.size()), static_cast<std::uint32_t>(key.size())};
    texts_.append(key);
    ++size_;
    return true;
}

bool KeySet::contains(std::string_view key) const {
    if (size_ == 0) return false;
    return slots_[slotOf(key, hashOf(key))].hash != 0;
}

void KeySet::clear() {
    texts_.clear();
    slots_.clear();
    size_ = 0;
}

std::size_t KeySet::slotOf(std::string_view key, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;  // a power of two
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.hash == 0) return at;
        if (slot.hash == hash && std::string_view(texts_).substr(slot.offset, slot.length) == key)
            return at;
    }
}

void KeySet::grow() {
    std::vector<Slot> slots(slots_.empty() ? 64 : slots_.size() * 2);
    const std::size_t mask = slots.size() - 1;
    for (const Slot& slot : slots_) {
        if (slot.hash == 0) continue;
        std::size_t at = slot.hash & mask;
        while (slots[at].hash != 0) at = (at + 1) & mask;
        slots[at] = slot;
    }
    slots_ = std::move(slots);
}

}  // namespace qor::workflows
