#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/Blender.h"
#include "graphics/OpaqueRuns.h"

namespace {

// A top-down 24-bit buffer, rows packed at `stride`.
struct Buffer {
    Buffer(int w, int h)
        : width(w), height(h), stride(w * 3 + 1), bytes(static_cast<size_t>(stride) * h + 4) {}
    uint8_t* Px(int x, int y) { return bytes.data() + static_cast<size_t>(y) * stride + x * 3; }
    void Fill(uint8_t b, uint8_t g, uint8_t r) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) Set(x, y, b, g, r);
    }
    void Set(int x, int y, uint8_t b, uint8_t g, uint8_t r) {
        Px(x, y)[0] = b;
        Px(x, y)[1] = g;
        Px(x, y)[2] = r;
    }
    int width, height, stride;
    std::vector<uint8_t> bytes;
};

BlendJob Job(Buffer& dst, Buffer& src, uint32_t key, uint32_t t) {
    BlendJob job;
    job.dst = dst.Px(0, 0);
    job.dstStep = dst.stride;
    job.src = src.Px(0, 0);
    job.srcStep = src.stride;
    job.width = src.width;
    job.rows = src.height;
    job.key = key;
    job.transparency = t;
    return job;
}

// The rule, written the long way.
uint8_t Reference(int s, int d, int t) {
    if (t > 256) t = 256;
    int num = t * (d - s);
    int q = num / 256;
    if (num % 256 != 0 && num < 0) --q;
    return static_cast<uint8_t>(s + q);
}

TEST(Blender, WhiteAtHalfTransparencyOverBlackGives127) {
    Buffer dst(1, 1), src(1, 1);
    dst.Fill(0, 0, 0);
    src.Fill(255, 255, 255);
    blender::Blend(Job(dst, src, 0x123456, 128));
    EXPECT_EQ(dst.Px(0, 0)[0], 127);
    EXPECT_EQ(dst.Px(0, 0)[1], 127);
    EXPECT_EQ(dst.Px(0, 0)[2], 127);
}

TEST(Blender, KeyPixelLeavesWhatIsBelowAndOthersAreCopiedWhenOpaque) {
    Buffer dst(3, 1), src(3, 1);
    dst.Fill(9, 8, 7);
    src.Fill(1, 2, 3);
    src.Set(1, 0, 0x56, 0x34, 0x12);  // blue 0x56, green 0x34, red 0x12 = key 0x123456
    blender::Blend(Job(dst, src, 0x123456, 0));
    EXPECT_EQ(dst.Px(0, 0)[0], 1);
    EXPECT_EQ(dst.Px(1, 0)[0], 9);
    EXPECT_EQ(dst.Px(1, 0)[2], 7);
    EXPECT_EQ(dst.Px(2, 0)[2], 3);
}

TEST(Blender, EveryChannelPairFollowsTheFloorRuleAlsoForNegativeDifferences) {
    for (uint32_t t : {1u, 37u, 128u, 200u, 255u, 256u, 999u}) {
        Buffer dst(256, 256), src(256, 256);
        for (int s = 0; s < 256; ++s)
            for (int d = 0; d < 256; ++d) {
                dst.Set(s, d, static_cast<uint8_t>(d), static_cast<uint8_t>(d), static_cast<uint8_t>(d));
                src.Set(s, d, static_cast<uint8_t>(s), static_cast<uint8_t>(s), static_cast<uint8_t>(s));
            }
        blender::Blend(Job(dst, src, 0xFFFFFFFF, t));
        for (int s = 0; s < 256; ++s)
            for (int d = 0; d < 256; ++d) {
                ASSERT_EQ(dst.Px(s, d)[1], Reference(s, d, static_cast<int>(t)))
                    << "s=" << s << " d=" << d << " t=" << t;
                ASSERT_EQ(blender::BlendChannel(static_cast<uint8_t>(s), static_cast<uint8_t>(d), t),
                          Reference(s, d, static_cast<int>(t)));
            }
    }
}

TEST(Blender, RunsGiveTheSamePixelsAsScanningForTheKey) {
    std::mt19937 rng(7);
    Buffer src(61, 23);
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x) {
            if (rng() % 3 == 0)
                src.Set(x, y, 0xFF, 0x00, 0xFF);
            else
                src.Set(x, y, static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()),
                        static_cast<uint8_t>(rng()));
        }
    OpaqueRuns runs;
    runs.Build(src.Px(0, 0), src.width, src.height, src.stride, 24, 0xFF00FF);
    for (uint32_t t : {0u, 128u}) {
        Buffer a(50, 23), b(50, 23);
        a.Fill(10, 20, 30);
        b.Fill(10, 20, 30);
        BlendJob scan = Job(a, src, 0xFF00FF, t);
        scan.srcX = 7;  // a window into the source, so runs are cut at both ends
        scan.width = 50;
        scan.dst = a.Px(0, 0);
        BlendJob fast = scan;
        fast.dst = b.Px(0, 0);
        fast.runs = &runs;
        fast.runStep = 1;
        blender::Blend(scan);
        blender::Blend(fast);
        EXPECT_EQ(a.bytes, b.bytes) << "t=" << t;
    }
}

// Row r of the source holds one run of r + 1 pixels between key pixels, so every length from a single
// pixel to past the widest vector step is drawn, whole and cut at both ends, from bottom-up rows as the
// game draws them, in both builds of the run loops.
TEST(Blender, RunsOfEveryLengthFollowTheRuleInEveryBuild) {
    constexpr uint32_t kKey = 0xFF00FF;
    constexpr int kRows = 90, kWidth = kRows + 4;
    Buffer src(kWidth, kRows);
    src.Fill(0xFF, 0x00, 0xFF);
    for (int r = 0; r < kRows; ++r)
        for (int x = 2; x < 2 + r + 1; ++x)
            src.Set(x, r, static_cast<uint8_t>(x * 37 + r), static_cast<uint8_t>(255 - x - r),
                    static_cast<uint8_t>(r * 11 + x * 5));
    OpaqueRuns runs;
    runs.Build(src.Px(0, 0), src.width, src.height, src.stride, 24, kKey);
    for (bool baseline : {false, true}) {
        blender::UseBaselineForTesting(baseline);
        for (int srcX : {0, 3}) {
            for (uint32_t t : {0u, 1u, 128u, 200u, 255u, 256u}) {
                Buffer dst(kWidth, kRows), expected(kWidth, kRows);
                for (int y = 0; y < kRows; ++y)
                    for (int x = 0; x < kWidth; ++x) {
                        const auto v = static_cast<uint8_t>(x * 3 + y * 7);
                        dst.Set(x, y, v, static_cast<uint8_t>(v ^ 0x5A), static_cast<uint8_t>(255 - v));
                    }
                expected.bytes = dst.bytes;
                const int width = kWidth - srcX - 1;  // cut on the right too
                // Bottom-up on both sides: the first row of the job is the last row in memory.
                BlendJob job;
                job.dst = dst.Px(0, kRows - 1);
                job.dstStep = -dst.stride;
                job.src = src.Px(0, kRows - 1);
                job.srcStep = -src.stride;
                job.srcX = srcX;
                job.width = width;
                job.rows = kRows;
                job.key = kKey;
                job.transparency = t;
                job.runs = &runs;
                job.runRow = kRows - 1;
                job.runStep = -1;
                blender::Blend(job);
                for (int y = 0; y < kRows; ++y)
                    for (int x = srcX; x < srcX + width; ++x) {
                        const uint8_t* sp = src.Px(x, y);
                        if ((sp[0] | sp[1] << 8 | static_cast<uint32_t>(sp[2]) << 16) == kKey) continue;
                        uint8_t* e = expected.Px(x - srcX, y);
                        for (int c = 0; c < 3; ++c) e[c] = Reference(sp[c], e[c], static_cast<int>(t));
                    }
                ASSERT_EQ(dst.bytes, expected.bytes)
                    << (baseline ? "baseline" : "widest") << " build, srcX " << srcX << ", t " << t;
            }
        }
    }
    blender::UseBaselineForTesting(false);
}

// Rows as long as the background's (a whole window wide), and around the length where copies used to
// change method, copied and blended block by block in both builds: every byte by the rule, nothing
// beyond the row touched.
TEST(Blender, WindowWideRowsFollowTheRuleInEveryBuild) {
    for (bool baseline : {false, true}) {
        blender::UseBaselineForTesting(baseline);
        for (int width : {341, 342, 343, 750}) {
            Buffer src(width + 1, 3);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < width + 1; ++x)
                    src.Set(x, y, static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(x ^ 0x33),
                            static_cast<uint8_t>(255 - x));
            OpaqueRuns runs;
            runs.Build(src.Px(0, 0), width, 3, src.stride, 24, 0xFF00FF);
            for (uint32_t t : {0u, 128u, 255u}) {
                Buffer dst(width + 1, 3);
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < width + 1; ++x)
                        dst.Set(x, y, static_cast<uint8_t>(x + y * 50), static_cast<uint8_t>(x * 3),
                                static_cast<uint8_t>(x >> 1));
                Buffer expected = dst;
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < width; ++x)
                        for (int c = 0; c < 3; ++c)
                            expected.Px(x, y)[c] =
                                Reference(src.Px(x, y)[c], dst.Px(x, y)[c], static_cast<int>(t));
                BlendJob job = Job(dst, src, 0xFF00FF, t);
                job.width = width;
                job.runs = &runs;
                job.runStep = 1;
                blender::Blend(job);
                ASSERT_EQ(dst.bytes, expected.bytes)
                    << (baseline ? "baseline" : "widest") << " build, width " << width << ", t " << t;
            }
        }
    }
    blender::UseBaselineForTesting(false);
}

// Copies and blends store whole aligned blocks between a first and a last block that may overlap them,
// so every byte offset of the destination within a block, for runs of one to several blocks, must give
// exactly the rule and leave the bytes around the run alone.
TEST(Blender, RunsAtEveryDestinationAlignmentFollowTheRuleInEveryBuild) {
    constexpr uint32_t kKey = 0xFF00FF;
    for (bool baseline : {false, true}) {
        blender::UseBaselineForTesting(baseline);
        for (int pixels : {11, 21, 22, 32, 43, 100}) {
            Buffer src(pixels, 1);
            for (int x = 0; x < pixels; ++x)
                src.Set(x, 0, static_cast<uint8_t>(x * 29), static_cast<uint8_t>(200 - x),
                        static_cast<uint8_t>(x ^ 0x5C));
            OpaqueRuns runs;
            runs.Build(src.Px(0, 0), pixels, 1, src.stride, 24, kKey);
            for (uint32_t t : {0u, 128u, 77u}) {
                for (int offset = 0; offset < 64; ++offset) {
                    std::vector<uint8_t> dst(static_cast<size_t>(pixels) * 3 + 160);
                    for (size_t i = 0; i < dst.size(); ++i) dst[i] = static_cast<uint8_t>(i * 13 + 7);
                    std::vector<uint8_t> expected = dst;
                    for (int i = 0; i < pixels * 3; ++i)
                        expected[offset + i] = Reference(src.bytes[i], dst[offset + i], static_cast<int>(t));
                    BlendJob job;
                    job.dst = dst.data() + offset;
                    job.src = src.Px(0, 0);
                    job.width = pixels;
                    job.rows = 1;
                    job.key = kKey;
                    job.transparency = t;
                    job.runs = &runs;
                    job.runStep = 1;
                    blender::Blend(job);
                    ASSERT_EQ(dst, expected) << (baseline ? "baseline" : "widest") << " build, " << pixels
                                             << " px at offset " << offset << ", t " << t;
                }
            }
        }
    }
    blender::UseBaselineForTesting(false);
}

TEST(Blender, ThirtyTwoBitSourceUsesItsThreeColourBytes) {
    std::vector<uint8_t> src{255, 255, 255, 77, 1, 2, 3, 0};
    Buffer dst(2, 1);
    dst.Fill(0, 0, 0);
    BlendJob job;
    job.dst = dst.Px(0, 0);
    job.src = src.data();
    job.width = 2;
    job.rows = 1;
    job.srcBitsPerPixel = 32;
    job.key = 0x030201;
    job.transparency = 128;
    blender::Blend(job);
    EXPECT_EQ(dst.Px(0, 0)[0], 127);
    EXPECT_EQ(dst.Px(1, 0)[0], 0);  // the key
}

TEST(OpaqueRuns, RowsHoldTheNonKeyStretches) {
    Buffer src(6, 2);
    src.Fill(1, 1, 1);
    src.Set(0, 0, 0, 0, 0);
    src.Set(3, 0, 0, 0, 0);
    for (int x = 0; x < 6; ++x) src.Set(x, 1, 0, 0, 0);
    OpaqueRuns runs;
    runs.Build(src.Px(0, 0), 6, 2, src.stride, 24, 0);
    ASSERT_EQ(runs.Rows(), 2);
    ASSERT_EQ(runs.RowEnd(0) - runs.RowBegin(0), 2);
    EXPECT_EQ(runs.RowBegin(0)[0].start, 1);
    EXPECT_EQ(runs.RowBegin(0)[0].length, 2);
    EXPECT_EQ(runs.RowBegin(0)[1].start, 4);
    EXPECT_EQ(runs.RowBegin(0)[1].length, 2);
    EXPECT_EQ(runs.RowBegin(1), runs.RowEnd(1));
}

}  // namespace
