#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A set of pointers in one flat table: open addressing with linear probing, the capacity a power of
// two kept at least twice the count, and erasing by shifting the entries after it back, so a lookup
// reads a few neighbouring words and never follows a list. The live set asks it thousands of times
// per frame step; a node-based set spent most of that time missing the cache. Not thread-safe.
class PointerSet {
  public:
    // False when it was there already.
    bool Insert(const void* p);
    // False when it was not there.
    bool Erase(const void* p);
    bool Contains(const void* p) const;
    size_t Size() const { return count_; }
    // Every pointer held, in no order.
    template <typename T>
    void AppendTo(std::vector<const T*>& out) const {
        for (const void* slot : slots_)
            if (slot) out.push_back(static_cast<const T*>(slot));
    }

  private:
    size_t Home(const void* p) const;
    // The slot holding p, or the empty slot where its probe ends.
    size_t Find(const void* p) const;
    void Grow();

    std::vector<const void*> slots_;  // null: empty
    size_t count_ = 0;
};
