#pragma once
#include <cstddef>
#include <vector>

class OGraph;

// The process-wide set of drawables that exist. Every OGraph enters it when constructed and leaves
// it when deleted, so a pointer kept to another drawable can be checked before it is followed.
// Game threads of different windows create and delete drawables at the same time, so the set has a
// lock of its own. Safe from any thread.
namespace live_set {
void Insert(const OGraph* graph);
void Erase(const OGraph* graph);
size_t Count();
// Every drawable that exists now, in address order. Checks and tests compare it with what the
// windows hold; the pointers may be followed only while nothing is created or deleted.
std::vector<const OGraph*> Snapshot();
}  // namespace live_set

// True when p is not null and names a drawable that still exists.
bool IsLive(const OGraph* p);
