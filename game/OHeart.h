#pragma once
#include <cstdint>

#include "graphics/OClipBucks.h"

// The heart that shows up on an island when frogs are missing and gives one back when eaten.
class OHeart : public OClipBucks {
  public:
    int32_t active = 0;
    uint32_t lastBeatTime = 0;
    int32_t beatCount = 0;
};
