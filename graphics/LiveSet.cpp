#include "graphics/LiveSet.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>

namespace {
std::mutex& SetMutex() {
    static std::mutex mutex;
    return mutex;
}
// Hashed, not ordered: IsLive is asked many times per frame step (every clip's current frame, every
// drawable a composition draws) among thousands of drawables, and a tree walk there took nearly half of
// a busy step. Only Snapshot wants the address order, and it sorts its copy.
std::unordered_set<const OGraph*>& Set() {
    static std::unordered_set<const OGraph*> set;
    return set;
}
}  // namespace

namespace live_set {
void Insert(const OGraph* graph) {
    std::lock_guard lock(SetMutex());
    Set().insert(graph);
}
void Erase(const OGraph* graph) {
    std::lock_guard lock(SetMutex());
    Set().erase(graph);
}
size_t Count() {
    std::lock_guard lock(SetMutex());
    return Set().size();
}
std::vector<const OGraph*> Snapshot() {
    std::vector<const OGraph*> all;
    {
        std::lock_guard lock(SetMutex());
        all.assign(Set().begin(), Set().end());
    }
    std::sort(all.begin(), all.end());
    return all;
}
}  // namespace live_set

bool IsLive(const OGraph* p) {
    if (!p) return false;
    std::lock_guard lock(SetMutex());
    return Set().count(p) != 0;
}
