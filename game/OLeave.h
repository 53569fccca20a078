#pragma once
#include <cstdint>

#include "graphics/OClipBucks.h"

// A lily leaf or an island of the pond. Its clip frames are its life: frame 0 a small new leaf,
// frame 2 the fully opened leaf, then sinking, and the last frame under water (gone).
//
// Owned by the game state's pond list; its clips belong to the game window's scene.
class OLeave : public OClipBucks {
  public:
    enum State : int32_t { kWaiting = 0, kLeaf = 1, kIsland = 2 };

    // A copy of `prototype` (its clips cloned), with its state and frame-time bounds.
    void CopyLeaf(const OLeave& prototype);

    bool IsIsland() const { return state == kIsland; }
    // At the last frame: under water.
    bool IsGone() const { return Frame() == FrameCount() - 1; }

    int32_t state = kWaiting;
    int32_t shortestFrameTime = 0;  // ms, the settings' bounds when placed
    int32_t longestFrameTime = 0;
    int32_t stepTime = 0;       // ms the current frame is held
    int32_t ownFrameTime = 0;   // ms, drawn at each placement between the bounds
    uint32_t lastStepTime = 0;  // when the frame last changed; islands: last sink step or stroke
    int32_t bellCount = 0;      // strokes rung as the last island
};
