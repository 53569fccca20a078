#pragma once
#include <cstdint>

#include "graphics/ORect.h"

class OGraph;

// The window's record of one drawable's area: a report in the pending change list, or an entry of
// the scene set (what is visible where).
struct OGraphNotify {
    OGraph* owner = nullptr;     // the top-level object, attached to the window, the report came through
    int orderIndex = 0;          // the owner's order index, 0 without owner
    OGraph* drawable = nullptr;  // whose area it is; asked to Draw
    ORect rect;
    float depth = 0.0f;  // the drawable's absolute depth when reported
    uint8_t kind = 0;    // 0: now shows in rect; 1: no longer covers rect
};

enum NotifyKind : uint8_t { kNotifyShown = 0, kNotifyUncovered = 1 };
