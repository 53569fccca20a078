#include "graphics/PointerSet.h"

size_t PointerSet::Home(const void* p) const {
    // Allocations share their low bits (alignment) and often their high ones: mix them all in.
    uint64_t x = reinterpret_cast<uintptr_t>(p);
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return static_cast<size_t>(x) & (slots_.size() - 1);
}

size_t PointerSet::Find(const void* p) const {
    size_t i = Home(p);
    while (slots_[i] && slots_[i] != p) i = (i + 1) & (slots_.size() - 1);
    return i;
}

bool PointerSet::Contains(const void* p) const {
    if (!p || slots_.empty()) return false;
    return slots_[Find(p)] == p;
}

bool PointerSet::Insert(const void* p) {
    if (!p) return false;
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    const size_t i = Find(p);
    if (slots_[i]) return false;
    slots_[i] = p;
    ++count_;
    return true;
}

bool PointerSet::Erase(const void* p) {
    if (!p || slots_.empty()) return false;
    size_t hole = Find(p);
    if (!slots_[hole]) return false;
    const size_t mask = slots_.size() - 1;
    // Every entry after the hole, up to the next empty slot, whose probe would pass the hole is moved
    // into it, so no probe ends early at the empty slot the erase leaves.
    for (size_t j = (hole + 1) & mask; slots_[j]; j = (j + 1) & mask) {
        const size_t home = Home(slots_[j]);
        const bool passesHole = hole <= j ? (home <= hole || home > j) : (home <= hole && home > j);
        if (passesHole) {
            slots_[hole] = slots_[j];
            hole = j;
        }
    }
    slots_[hole] = nullptr;
    --count_;
    return true;
}

void PointerSet::Grow() {
    std::vector<const void*> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, nullptr);
    for (const void* p : old)
        if (p) slots_[Find(p)] = p;
}
