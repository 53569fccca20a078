#pragma once
#include <cstdint>

#include "graphics/OClipBucks.h"

// A fly or a sun. Its four clips are its flight directions (0 up, 1 right, 2 down, 3 left); the
// current clip is the direction it flies in.
//
// Owned by the game state's flyer list; its clips belong to the game window's scene.
class OFly : public OClipBucks {
  public:
    enum State : int32_t { kIdle = 0, kFlying = 1, kResting = 2 };
    enum Kind : int32_t { kFly = 0, kSun = 3 };
    static constexpr int32_t kNoTurn = 4;

    // A copy of `prototype` (its clips cloned) with its speed, state, kind, points and turn.
    void CopyFly(const OFly& prototype);

    bool IsSun() const { return kind == kSun; }

    int32_t speed = 3;  // pixels per frame step
    int32_t state = kIdle;
    int32_t points = 5;
    int32_t heading = 0;  // the direction of its last flight command
    int32_t kind = kFly;
    int32_t landingHeading = 0;
    int32_t turn = kNoTurn;  // chosen when it turned back at an edge, kept until it takes off
};
