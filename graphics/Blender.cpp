#include "graphics/Blender.h"

#include <algorithm>
#include <cstring>

#include "graphics/OpaqueRuns.h"

namespace {

uint32_t PixelValue(const uint8_t* p) { return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16); }

// s + floor(t * (d - s) / 256) equals floor(((256 - t) * s + t * d) / 256), and both products fit
// 16 bits for t in 0..256, so the loop runs in 16-bit lanes once the compiler vectorises it.
void BlendBytes(uint8_t* __restrict d, const uint8_t* __restrict s, size_t n, uint32_t t) {
    const uint16_t wt = static_cast<uint16_t>(t);
    const uint16_t ws = static_cast<uint16_t>(256 - t);
    for (size_t i = 0; i < n; ++i) d[i] = static_cast<uint8_t>(static_cast<uint16_t>(s[i] * ws + d[i] * wt) >> 8);
}

// Source pixels [from, from + count) of a 24-bit row onto the destination (dst is at srcX).
void Segment24(const BlendJob& job, uint8_t* dst, const uint8_t* src, int32_t from, int32_t count, uint32_t t) {
    uint8_t* d = dst + static_cast<ptrdiff_t>(from - job.srcX) * 3;
    const uint8_t* s = src + static_cast<ptrdiff_t>(from) * 3;
    size_t n = static_cast<size_t>(count) * 3;
    if (t == 0) std::memcpy(d, s, n);
    else BlendBytes(d, s, n, t);
}

void RowWithRuns(const BlendJob& job, uint8_t* dst, const uint8_t* src, int32_t runRow, uint32_t t) {
    const int32_t end = job.srcX + job.width;
    for (const OpaqueRuns::Run* r = job.runs->RowBegin(runRow); r != job.runs->RowEnd(runRow); ++r) {
        int32_t a = std::max(r->start, job.srcX), b = std::min(r->start + r->length, end);
        if (a < b) Segment24(job, dst, src, a, b - a, t);
    }
}

void RowScanning24(const BlendJob& job, uint8_t* dst, const uint8_t* src, uint32_t t) {
    const int32_t end = job.srcX + job.width;
    int32_t x = job.srcX;
    while (x < end) {
        while (x < end && PixelValue(src + x * 3) == job.key) ++x;
        int32_t start = x;
        while (x < end && PixelValue(src + x * 3) != job.key) ++x;
        if (x > start) Segment24(job, dst, src, start, x - start, t);
    }
}

void Row32(const BlendJob& job, uint8_t* dst, const uint8_t* src, uint32_t t) {
    for (int32_t i = 0; i < job.width; ++i) {
        const uint8_t* s = src + static_cast<ptrdiff_t>(job.srcX + i) * 4;
        if (PixelValue(s) == job.key) continue;
        uint8_t* d = dst + static_cast<ptrdiff_t>(i) * 3;
        for (int c = 0; c < 3; ++c) d[c] = t == 0 ? s[c] : Blender::BlendChannel(s[c], d[c], t);
    }
}

}  // namespace

namespace Blender {

uint8_t BlendChannel(uint8_t s, uint8_t d, uint32_t t) {
    int32_t tt = static_cast<int32_t>(std::min<uint32_t>(t, 256));
    int32_t diff = static_cast<int32_t>(d) - static_cast<int32_t>(s);
    int32_t num = tt * diff;
    int32_t q = num >= 0 ? num / 256 : -((-num + 255) / 256);  // floor, also for negative differences
    return static_cast<uint8_t>(s + q);
}

void Blend(const BlendJob& job) {
    if (!job.dst || !job.src || job.width <= 0 || job.rows <= 0) return;
    const uint32_t t = std::min<uint32_t>(job.transparency, 256);
    const bool useRuns = job.runs && job.srcBitsPerPixel == 24 && job.runs->Rows() > 0;
    uint8_t* dst = job.dst;
    const uint8_t* src = job.src;
    int32_t runRow = job.runRow;
    for (int32_t row = 0; row < job.rows; ++row) {
        if (job.srcBitsPerPixel == 32) Row32(job, dst, src, t);
        else if (useRuns && runRow >= 0 && runRow < job.runs->Rows()) RowWithRuns(job, dst, src, runRow, t);
        else RowScanning24(job, dst, src, t);
        dst += job.dstStep;
        src += job.srcStep;
        runRow += job.runStep;
    }
}

}  // namespace Blender
