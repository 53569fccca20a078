#pragma once
#include <cstddef>

class OGraph;

// The process-wide set of drawables that exist. Every OGraph enters it when constructed and leaves
// it when deleted, so a pointer kept to another drawable can be checked before it is followed.
// Game threads of different windows create and delete drawables at the same time, so the set has a
// lock of its own. Safe from any thread.
namespace LiveSet {
void Insert(const OGraph* graph);
void Erase(const OGraph* graph);
size_t Count();
}  // namespace LiveSet

// True when p is not null and names a drawable that still exists.
bool IsLive(const OGraph* p);
