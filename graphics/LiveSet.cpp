#include "graphics/LiveSet.h"

#include <algorithm>
#include <mutex>

#include "graphics/PointerSet.h"

namespace {
std::mutex& SetMutex() {
    static std::mutex mutex;
    return mutex;
}
// Hashed, not ordered: IsLive is asked many times per frame step (every clip's current frame, every
// drawable a composition draws) among thousands of drawables, and a tree walk there took nearly half of
// a busy step; a node-based hash set still took an eighth of the game's CPU while playing, most of
// it in cache misses, which one flat table avoids. Only Snapshot wants the address order, and it
// sorts its copy.
PointerSet& Set() {
    static PointerSet set;
    return set;
}
}  // namespace

namespace live_set {
void Insert(const OGraph* graph) {
    std::lock_guard lock(SetMutex());
    Set().Insert(graph);
}
void Erase(const OGraph* graph) {
    std::lock_guard lock(SetMutex());
    Set().Erase(graph);
}
size_t Count() {
    std::lock_guard lock(SetMutex());
    return Set().Size();
}
std::vector<const OGraph*> Snapshot() {
    std::vector<const OGraph*> all;
    {
        std::lock_guard lock(SetMutex());
        Set().AppendTo(all);
    }
    std::sort(all.begin(), all.end());
    return all;
}
}  // namespace live_set

bool IsLive(const OGraph* p) {
    if (!p) return false;
    std::lock_guard lock(SetMutex());
    return Set().Contains(p);
}
