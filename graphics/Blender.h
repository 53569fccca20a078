#pragma once
#include <cstddef>
#include <cstdint>

class OpaqueRuns;

// Blends one rectangle of source pixels into a 24-bit destination. For every source pixel: the
// colour key leaves the destination as it is; with t = 0 the destination becomes the source;
// otherwise every channel becomes s + floor(t * (d - s) / 256) (a t of 256 or more counts as 256).
// Rows are walked with signed steps, so either picture may be bottom-up.
struct BlendJob {
    uint8_t* dst = nullptr;        // the destination pixel of source column srcX in the first row
    ptrdiff_t dstStep = 0;         // bytes from one destination row to the next
    const uint8_t* src = nullptr;  // column 0 of the first source row
    ptrdiff_t srcStep = 0;
    int32_t srcX = 0;   // first source column
    int32_t width = 0;  // pixels per row
    int32_t rows = 0;
    int srcBitsPerPixel = 24;  // 24 or 32 (the fourth byte is ignored)
    uint32_t key = 0;
    uint32_t transparency = 0;
    const OpaqueRuns* runs = nullptr;  // non-key runs of the source for `key`, or none
    int32_t runRow = 0;                // run row of the first source row
    int32_t runStep = 0;               // +1 or -1
};

namespace blender {
void Blend(const BlendJob& job);
// One pixel by the rule above, the reference the fast paths must equal.
uint8_t BlendChannel(uint8_t s, uint8_t d, uint32_t t);
// Tests only: the baseline build of the run loops draws even where the processor has a wider one
// (AVX2), so both builds can be checked on one machine.
void UseBaselineForTesting(bool on);
}  // namespace blender
