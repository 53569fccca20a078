#pragma once
#include <cstdint>

// Milliseconds to sleep after a frame step that took `stepMs`, at `frameRate` frames per second:
// 1000 / (rate + 0.0001) - stepMs, truncated towards zero. Zero or less means the next step follows
// at once; a late step is not made up for. A rate below 1 counts as 1.
inline int FrameDelayMs(int frameRate, uint32_t stepMs) {
    if (frameRate < 1) frameRate = 1;
    double delay = 1000.0 / (frameRate + 0.0001) - static_cast<double>(stepMs);
    return static_cast<int>(delay);
}
