#include "graphics/PointerSet.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

namespace {

const void* Ptr(uintptr_t v) {
    return reinterpret_cast<const void*>(v);
}

// Insertions and erasures in a random order, with pointers spaced as allocations are (so many share
// their low bits) and enough of them to grow the table several times: after every step the set holds
// exactly what an ordered set of the same steps holds.
TEST(PointerSet, HoldsWhatAnOrderedSetHoldsThroughGrowthAndErasure) {
    PointerSet set;
    std::set<const void*> reference;
    std::mt19937 rng(7);
    for (int step = 0; step < 20000; ++step) {
        const void* p = Ptr(0x10000 + 48 * (rng() % 3000));
        if (rng() % 3 == 0)
            ASSERT_EQ(set.Erase(p), reference.erase(p) == 1) << "step " << step;
        else
            ASSERT_EQ(set.Insert(p), reference.insert(p).second) << "step " << step;
        ASSERT_EQ(set.Size(), reference.size());
        const void* probe = Ptr(0x10000 + 48 * (rng() % 3000));
        ASSERT_EQ(set.Contains(probe), reference.count(probe) == 1) << "step " << step;
    }
    std::vector<const char*> all;
    set.AppendTo(all);
    EXPECT_EQ(std::set<const void*>(all.begin(), all.end()), reference);
}

TEST(PointerSet, NullIsNeverHeldAndAnEmptySetHoldsNothing) {
    PointerSet set;
    EXPECT_FALSE(set.Contains(Ptr(8)));
    EXPECT_FALSE(set.Erase(Ptr(8)));
    EXPECT_FALSE(set.Insert(nullptr));
    EXPECT_FALSE(set.Contains(nullptr));
    EXPECT_EQ(set.Size(), 0u);
}

}  // namespace
