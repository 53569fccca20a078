#include "graphics/Blender.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "graphics/OpaqueRuns.h"

// Where processors differ (x86-64), the run loops are built twice from the same code, for AVX2 and for
// the baseline, and the processor decides which one draws.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define MARSHWADE_BLEND_AVX2 1
#endif

namespace {

uint32_t PixelValue(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
}

// s + floor(t * (d - s) / 256) equals floor(((256 - t) * s + t * d) / 256), and that sum fits 16 bits
// for t in 0..256, so the arithmetic runs in 16-bit lanes.
[[gnu::always_inline]] inline void BlendBytesPlain(uint8_t* __restrict d, const uint8_t* __restrict s,
                                                   size_t n, uint16_t ws, uint16_t wt) {
    for (size_t i = 0; i < n; ++i)
        d[i] = static_cast<uint8_t>(static_cast<uint16_t>(s[i] * ws + d[i] * wt) >> 8);
}

// Blocks of N bytes in the compiler's portable vectors, which become the widest instructions of the
// build they are inlined into (SSE2 or AVX2 registers).
//
// A run is a few dozen pixels of a sprite's row: so short that a loop's odd bytes at the end would
// cost as much as its body. So a run of at least one block ends with a block that overlaps the one
// before it. For a blend that last block is computed from the bytes as they were before the run was
// drawn, so the overlapping bytes are written with the same value twice.
using Bytes16 = uint8_t __attribute__((vector_size(16)));
using Words16 = uint16_t __attribute__((vector_size(16)));
using Bytes32 = uint8_t __attribute__((vector_size(32)));
using Words32 = uint16_t __attribute__((vector_size(32)));

template <typename Bytes, typename Words>
struct Block {
    static constexpr size_t N = sizeof(Bytes);
    static_assert(sizeof(Words) == N);

    // The block is read as 16-bit lanes, each holding an even byte (low half) and an odd byte (high
    // half), and both are blended where they lie: no widening to twice the registers and no shuffles
    // to narrow back. (256 - t) * s + t * d is written s * 256 + (d - s) * t; wrapped modulo 2^16 it
    // is still exact, since the true value lies in 0..65280. So one multiply per half of the bytes.
    // Vectors travel by reference only: passed or returned by value they would need an ABI that the
    // baseline build does not have.
    [[gnu::always_inline]] static void Blend(Words& out, const uint8_t* d, const uint8_t* s, uint16_t t) {
        Words vs, vd;
        std::memcpy(&vs, s, N);
        std::memcpy(&vd, d, N);
        const Words even = ((vs << 8) + ((vd & 0xFF) - (vs & 0xFF)) * t) >> 8;
        const Words odd = ((vs & 0xFF00) + ((vd >> 8) - (vs >> 8)) * t) & 0xFF00;
        out = even | odd;
    }
    // At t = 128 the rule is the mean rounded down, floor((s + d) / 2), which needs no widening at
    // all: the bits both bytes share plus half of those they do not.
    [[gnu::always_inline]] static void Half(Words& out, const uint8_t* d, const uint8_t* s) {
        Bytes vs, vd;
        std::memcpy(&vs, s, N);
        std::memcpy(&vd, d, N);
        const Bytes r = (vs & vd) + ((vs ^ vd) >> 1);
        std::memcpy(&out, &r, N);
    }
    template <bool AtHalf>
    [[gnu::always_inline]] static void Step(Words& out, const uint8_t* d, const uint8_t* s, uint16_t t) {
        if constexpr (AtHalf)
            Half(out, d, s);
        else
            Blend(out, d, s, t);
    }
    // The offset of the first block boundary of the destination after d: the blocks between it and
    // the last one store whole aligned blocks, none split across two cache lines.
    static size_t FirstAligned(const uint8_t* d) { return N - (reinterpret_cast<uintptr_t>(d) & (N - 1)); }
    // n >= N.
    template <bool AtHalf>
    [[gnu::always_inline]] static void BlendRun(uint8_t* d, const uint8_t* s, size_t n, uint16_t t) {
        Words head, last, v;
        Step<AtHalf>(head, d, s, t);
        Step<AtHalf>(last, d + n - N, s + n - N, t);
        for (size_t i = FirstAligned(d); i + N <= n; i += N) {
            Step<AtHalf>(v, d + i, s + i, t);
            std::memcpy(d + i, &v, N);
        }
        std::memcpy(d, &head, N);
        std::memcpy(d + n - N, &last, N);
    }
    // n >= N.
    [[gnu::always_inline]] static void CopyRun(uint8_t* d, const uint8_t* s, size_t n) {
        Bytes v;
        std::memcpy(&v, s, N);
        std::memcpy(d, &v, N);
        for (size_t i = FirstAligned(d); i + N <= n; i += N) {
            std::memcpy(&v, s + i, N);
            std::memcpy(d + i, &v, N);
        }
        std::memcpy(&v, s + n - N, N);
        std::memcpy(d + n - N, &v, N);
    }
};

[[gnu::always_inline]] inline void BlendBytes(uint8_t* d, const uint8_t* s, size_t n, uint32_t t) {
    const auto wt = static_cast<uint16_t>(t), ws = static_cast<uint16_t>(256 - t);
    // Half transparency needs no multiply, so it has loops of its own.
    if (n >= 32 && t == 128)
        Block<Bytes32, Words32>::BlendRun<true>(d, s, n, wt);
    else if (n >= 32)
        Block<Bytes32, Words32>::BlendRun<false>(d, s, n, wt);
    else if (n >= 16 && t == 128)
        Block<Bytes16, Words16>::BlendRun<true>(d, s, n, wt);
    else if (n >= 16)
        Block<Bytes16, Words16>::BlendRun<false>(d, s, n, wt);
    else
        BlendBytesPlain(d, s, n, ws, wt);
}

// A copy of one run, without a library call: for the short ones the call would cost as much as the
// copy, and for a background row the library chooses a string instruction that runs slower than
// these blocks on the processors measured.
[[gnu::always_inline]] inline void CopyBytes(uint8_t* d, const uint8_t* s, size_t n) {
    if (n >= 32)
        Block<Bytes32, Words32>::CopyRun(d, s, n);
    else if (n >= 16 && n < 32)
        Block<Bytes16, Words16>::CopyRun(d, s, n);
    else
        std::memcpy(d, s, n);
}

// Source pixels [from, from + count) of a 24-bit row onto the destination (dst is at srcX).
void Segment24(const BlendJob& job, uint8_t* dst, const uint8_t* src, int32_t from, int32_t count,
               uint32_t t) {
    uint8_t* d = dst + static_cast<ptrdiff_t>(from - job.srcX) * 3;
    const uint8_t* s = src + static_cast<ptrdiff_t>(from) * 3;
    size_t n = static_cast<size_t>(count) * 3;
    if (t == 0)
        CopyBytes(d, s, n);
    else
        BlendBytes(d, s, n, t);
}

// Every row through the precomputed runs, one instance per case so the inner loop carries no
// decisions but the runs themselves. Everything it needs is held in locals, so the stores into the
// picture cannot make the compiler reload it.
template <bool Clipped, bool Opaque>
[[gnu::always_inline]] inline void BlendWithRunsCase(const BlendJob& job, uint32_t t) {
    const OpaqueRuns::Run* runs = job.runs->Data();
    const uint32_t* rowStart = job.runs->RowStarts();
    const int32_t first = job.srcX, end = job.srcX + job.width;
    ptrdiff_t dstStep = job.dstStep, srcStep = job.srcStep;
    int32_t runStep = job.runStep;
    uint8_t* dst = job.dst - static_cast<ptrdiff_t>(first) * 3;  // so source columns index it directly
    const uint8_t* src = job.src;
    int32_t row = job.runRow;
    // Rows are independent, so they go in rising memory order whenever both pictures allow it (both
    // bottom-up, as the game's are): the processor fetches ahead upwards, not downwards.
    if (dstStep < 0 && srcStep < 0) {
        const int32_t last = job.rows - 1;
        dst += dstStep * last;
        src += srcStep * last;
        row += runStep * last;
        dstStep = -dstStep;
        srcStep = -srcStep;
        runStep = -runStep;
    }
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
                CopyBytes(dst + offset, src + offset, bytes);
            else
                BlendBytes(dst + offset, src + offset, bytes, t);
        }
    }
}

// The four cases, inlined into each build of the run loops below.
[[gnu::always_inline]] inline void BlendWithRunsCases(const BlendJob& job, uint32_t t, bool clipped) {
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

using RunsBuild = void (*)(const BlendJob&, uint32_t, bool);

void BlendWithRunsBaseline(const BlendJob& job, uint32_t t, bool clipped) {
    BlendWithRunsCases(job, t, clipped);
}

#if MARSHWADE_BLEND_AVX2
__attribute__((target("avx2"))) void BlendWithRunsAvx2(const BlendJob& job, uint32_t t, bool clipped) {
    BlendWithRunsCases(job, t, clipped);
}
#endif

std::atomic<bool> gBaselineOnly{false};

RunsBuild ChosenBuild() {
#if MARSHWADE_BLEND_AVX2
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2 && !gBaselineOnly.load(std::memory_order_relaxed)) return &BlendWithRunsAvx2;
#endif
    return &BlendWithRunsBaseline;
}

void BlendWithRuns(const BlendJob& job, uint32_t t) {
    // Rows outside the runs cannot be drawn from them.
    const int32_t lastRow = job.runRow + (job.rows - 1) * job.runStep;
    if (job.runRow < 0 || job.runRow >= job.runs->Rows() || lastRow < 0 || lastRow >= job.runs->Rows())
        return;
    const bool clipped = job.srcX > 0 || job.srcX + job.width < job.runs->Width();
    ChosenBuild()(job, t, clipped);
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
        for (int c = 0; c < 3; ++c) d[c] = t == 0 ? s[c] : blender::BlendChannel(s[c], d[c], t);
    }
}

}  // namespace

namespace blender {

void UseBaselineForTesting(bool on) {
    gBaselineOnly.store(on);
}

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

}  // namespace blender
