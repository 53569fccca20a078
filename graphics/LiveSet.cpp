#include "graphics/LiveSet.h"

#include <mutex>
#include <set>

namespace {
std::mutex& SetMutex() {
    static std::mutex mutex;
    return mutex;
}
std::set<const OGraph*>& Set() {
    static std::set<const OGraph*> set;
    return set;
}
}  // namespace

namespace LiveSet {
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
    std::lock_guard lock(SetMutex());
    return {Set().begin(), Set().end()};
}
}  // namespace LiveSet

bool IsLive(const OGraph* p) {
    if (!p) return false;
    std::lock_guard lock(SetMutex());
    return Set().count(p) != 0;
}
