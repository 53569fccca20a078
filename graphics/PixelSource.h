#pragma once
#include <cstdint>

class OpaqueRuns;

// The pixels of a drawable, as DrawBitmap reads them. The drawable keeps them alive; the pointers
// are valid for the duration of one Draw.
struct PixelSource {
    const uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;                // bytes per row
    bool bottomUp = true;              // row r is memory row height - 1 - r
    int bitsPerPixel = 24;             // 24 or 32
    uint32_t colourKey = 0;            // blue + green*256 + red*65536; never matches if above 0xFFFFFF
    const OpaqueRuns* runs = nullptr;  // non-key runs per memory row for colourKey, or none
};
