#include "graphics/Blender.h"

#include <algorithm>
#include <cstring>

#include "graphics/OpaqueRuns.h"

namespace {

uint32_t PixelValue(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
}

// s + floor(t * (d - s) / 256) equals floor(((256 - t) * s + t * d) / 256), and both products fit
// 16 bits for t in 0..256, so the loop runs in 16-bit lanes once the compiler vectorises it.
inline void BlendBytes(uint8_t* __restrict d, const uint8_t* __restrict s, size_t n, uint32_t t) {
    const uint16_t wt = static_cast<uint16_t>(t);
    const uint16_t ws = static_cast<uint16_t>(256 - t);
    for (size_t i = 0; i < n; ++i)
        d[i] = static_cast<uint8_t>(static_cast<uint16_t>(s[i] * ws + d[i] * wt) >> 8);
}

// Source pixels [from, from + count) of a 24-bit row onto the destination (dst is at srcX).
void Segment24(const BlendJob& job, uint8_t* dst, const uint8_t* src, int32_t from, int32_t count,
               uint32_t t) {
    uint8_t* d = dst + static_cast<ptrdiff_t>(from - job.srcX) * 3;
    const uint8_t* s = src + static_cast<ptrdiff_t>(from) * 3;
    size_t n = static_cast<size_t>(count) * 3;
    if (t == 0)
        std::memcpy(d, s, n);
    else
        BlendBytes(d, s, n, t);
}

// Every row through the precomputed runs, one instance per case so the inner loop carries no
// decisions but the runs themselves. Everything it needs is held in locals, so the stores into the
// picture cannot make the compiler reload it.
template <bool Clipped, bool Opaque>
void BlendWithRunsCase(const BlendJob& job, uint32_t t) {
    const OpaqueRuns::Run* runs = job.runs->Data();
    const uint32_t* rowStart = job.runs->RowStarts();
    const int32_t first = job.srcX, end = job.srcX + job.width;
    const ptrdiff_t dstStep = job.dstStep, srcStep = job.srcStep;
    const int32_t runStep = job.runStep;
    uint8_t* dst = job.dst - static_cast<ptrdiff_t>(first) * 3;  // so source columns index it directly
    const uint8_t* src = job.src;
    int32_t row = job.runRow;
    for (int32_t i = job.rows; i > 0; --i, dst += dstStep, src += srcStep, row += runStep) {
        const OpaqueRuns::Run* e = runs + rowStart[row + 1];
        for (const OpaqueRuns::Run* r = runs + rowStart[row]; r != e; ++r) {
            size_t offset = r->byteOffset, bytes = r->byteCount;
            if constexpr (Clipped) {
                const int32_t b = std::min(r->start + r->length, end), a = std::max(r->start, first);
                if (a >= b) continue;
                offset = static_cast<size_t>(a) * 3;
                bytes = static_cast<size_t>(b - a) * 3;
            }
            if constexpr (Opaque)
                std::memcpy(dst + offset, src + offset, bytes);
            else
                BlendBytes(dst + offset, src + offset, bytes, t);
        }
    }
}

void BlendWithRuns(const BlendJob& job, uint32_t t) {
    // Rows outside the runs cannot be drawn from them.
    const int32_t lastRow = job.runRow + (job.rows - 1) * job.runStep;
    if (job.runRow < 0 || job.runRow >= job.runs->Rows() || lastRow < 0 || lastRow >= job.runs->Rows())
        return;
    const bool clipped = job.srcX > 0 || job.srcX + job.width < job.runs->Width();
    if (t == 0) {
        if (clipped)
            BlendWithRunsCase<true, true>(job, t);
        else
            BlendWithRunsCase<false, true>(job, t);
    } else {
        if (clipped)
            BlendWithRunsCase<true, false>(job, t);
        else
            BlendWithRunsCase<false, false>(job, t);
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
    if (job.runs && job.srcBitsPerPixel == 24 && job.runs->Rows() > 0) {
        BlendWithRuns(job, t);
        return;
    }
    uint8_t* dst = job.dst;
    const uint8_t* src = job.src;
    for (int32_t row = 0; row < job.rows; ++row) {
        if (job.srcBitsPerPixel == 32)
            Row32(job, dst, src, t);
        else
            RowScanning24(job, dst, src, t);
        dst += job.dstStep;
        src += job.srcStep;
    }
}

}  // namespace Blender
