#pragma once
#include <cstdint>

#include "graphics/OClipBucks.h"

// A frog: one of the player's lives (the player's frog is one of them) or a red frog. Its four
// clips are its four directions: 0 up, 1 right, 2 down, 3 left.
//
// Owned by the game state's frog lists; its clips belong to the game window's scene.
class OFrog : public OClipBucks {
  public:
    enum State : int32_t { kMoving = 0, kLeaping = 1, kDead = 2, kResting = 3, kPushed = 4 };

    OFrog() {
        depth_ = 10;
        cellX_ = -1;
        cellY_ = -1;
    }
    // A copy of `prototype` (its clips cloned) with its speeds and state.
    void CopyFrog(const OFrog& prototype);

    bool IsDead() const { return state == kDead; }

    int32_t hopSpeed = 20;   // pixels per frame step of a one-cell hop
    int32_t leapSpeed = 20;  // pixels per frame step of a leap toward the target cell
    int32_t state = kLeaping;
    int32_t targetColumn = 0;
    int32_t targetRow = 0;
    int32_t waitX = 0;  // the frog's place in the panel
    int32_t waitY = 0;
    uint32_t landingTime = 0;  // last rest after a hop; on the arrival path, the last step on
};
