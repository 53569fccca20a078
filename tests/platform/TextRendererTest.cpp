#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

#include "graphics/FontRecord.h"
#include "platform/TextRenderer.h"

namespace {

using platform::TextRect;
using platform::TextRenderer;
using platform::TextStyle;
using platform::TextTarget;

TextStyle Arial(int height, int weight = 0) {
    TextStyle s;
    s.height = height;
    s.weight = weight;
    return s;
}

// A 24-bit picture filled with one colour, bottom-up unless asked otherwise.
struct TestPicture {
    int width, height, stride;
    bool bottomUp;
    std::vector<uint8_t> bytes;
    TestPicture(int w, int h, uint8_t fill = 0xFF, bool up = true)
        : width(w),
          height(h),
          stride((w * 3 + 3) / 4 * 4),
          bottomUp(up),
          bytes(static_cast<size_t>(stride) * h, fill) {}
    TextTarget Target() { return {bytes.data(), width, height, stride, bottomUp}; }
    // Blue, green, red of the pixel at (x, y), y from the top.
    std::array<uint8_t, 3> At(int x, int y) const {
        int row = bottomUp ? height - 1 - y : y;
        const uint8_t* p = bytes.data() + static_cast<size_t>(row) * stride + x * 3;
        return {p[0], p[1], p[2]};
    }
    bool IsFill(int x, int y, uint8_t fill) const {
        auto p = At(x, y);
        return p[0] == fill && p[1] == fill && p[2] == fill;
    }
};

TEST(TextRendererTest, ArialResolvesToItsMetricTwin) {
    EXPECT_EQ(TextRenderer::Shared().FamilyName(Arial(18)), "Liberation Sans");
}

TEST(TextRendererTest, FontRecordDefaultsMapOntoTheRendererStyle) {
    graphics::FontRecord font;
    EXPECT_EQ(font.face, "Arial");
    EXPECT_EQ(font.height, 32);
    EXPECT_EQ(font.colour, 0u);
    font.face = "Arial and a name longer than twenty";
    font.weight = 800;
    font.italic = 1;
    TextStyle style = graphics::StyleOf(font);
    EXPECT_EQ(style.face, "Arial and a name lon") << "the face name holds 20 characters";
    EXPECT_EQ(style.height, 32);
    EXPECT_EQ(style.weight, 800);
    EXPECT_TRUE(style.italic);
    EXPECT_FALSE(style.underline);
}

TEST(TextRendererTest, WidthsAreStablePositiveAndBoldIsWider) {
    TextRenderer fresh;
    for (int height : {12, 18, 24, 32, -16}) {
        for (const char* text : {"Anonymous", "Top10", "Could not read clip"}) {
            auto a = TextRenderer::Shared().Measure(text, Arial(height));
            EXPECT_GT(a.width, 0) << text;
            EXPECT_EQ(a.width, TextRenderer::Shared().Measure(text, Arial(height)).width) << text;
            EXPECT_EQ(a.width, fresh.Measure(text, Arial(height)).width) << "a new renderer agrees";
            EXPECT_GT(TextRenderer::Shared().Measure(text, Arial(height, 800)).width, a.width)
                << text << " bold";
            EXPECT_EQ(TextRenderer::Shared().Measure(text, Arial(height, 599)).width, a.width)
                << "599 is regular";
        }
    }
}

TEST(TextRendererTest, PositiveHeightIsTheCellNegativeHeightTheEm) {
    EXPECT_EQ(TextRenderer::Shared().Measure("Anonymous", Arial(18)).height, 18);
    EXPECT_EQ(TextRenderer::Shared().Measure("Anonymous", Arial(18, 800)).height, 18);
    EXPECT_EQ(TextRenderer::Shared().Measure("", Arial(32)).height, 32);
    EXPECT_EQ(TextRenderer::Shared().Measure("", Arial(32)).width, 0);
    // The Windows cell of this face is about 1.12 em.
    int cell = TextRenderer::Shared().Measure("x", Arial(-16)).height;
    EXPECT_GE(cell, 17);
    EXPECT_LE(cell, 19);
    int ascent = TextRenderer::Shared().Ascent(Arial(18));
    EXPECT_GT(ascent, 18 / 2);
    EXPECT_LT(ascent, 18);
}

TEST(TextRendererTest, MeasuringAPrefixAndTheRestAddsUpToTheWhole) {
    for (int height : {11, 18, 25, -20}) {
        for (std::string text : {"Anonymous", "AVATAR Ty", "WAWAVA", "Level 12 completed!"}) {
            int whole = TextRenderer::Shared().Measure(text, Arial(height)).width;
            for (size_t cut = 0; cut <= text.size(); ++cut) {
                int a = TextRenderer::Shared().Measure(text.substr(0, cut), Arial(height)).width;
                int b = TextRenderer::Shared().Measure(text.substr(cut), Arial(height)).width;
                EXPECT_EQ(a + b, whole) << text << " cut at " << cut;
            }
        }
    }
}

TEST(TextRendererTest, FacesAreOpenedOncePerFileWhateverTheSize) {
    TextRenderer r;
    for (int h : {10, 12, 18, 32, -40}) r.Measure("abc", Arial(h));
    EXPECT_EQ(r.OpenFaceCount(), 1u);
    for (int h : {10, 12, 18}) r.Measure("abc", Arial(h, 800));
    EXPECT_EQ(r.OpenFaceCount(), 2u);
}

TEST(TextRendererTest, Windows1252BytesMapToTheirCharacters) {
    EXPECT_EQ(platform::CodePointOf1252(0x80), U'\u20AC');
    EXPECT_EQ(platform::CodePointOf1252(0x9F), U'\u0178');
    EXPECT_EQ(platform::CodePointOf1252(0x81), U'\u0081');
    EXPECT_EQ(platform::CodePointOf1252(0xE9), U'\u00E9');
    EXPECT_EQ(platform::CodePointOf1252('A'), U'A');
    EXPECT_GT(TextRenderer::Shared().Measure("\x80", Arial(18)).width, 0) << "euro sign has a glyph";
    EXPECT_GT(TextRenderer::Shared().Measure("\xE9", Arial(18)).width, 0);
}

TEST(TextRendererTest, DrawingStaysInsideTheClipRectangle) {
    TestPicture pic(120, 40);
    TextRect clip{10, 5, 40, 20};
    int width = TextRenderer::Shared().Draw("Anonymous", Arial(32), pic.Target(), 2, 0, clip, 0x000000);
    EXPECT_EQ(width, TextRenderer::Shared().Measure("Anonymous", Arial(32)).width);
    int changedInside = 0;
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
            if (!inside) {
                ASSERT_TRUE(pic.IsFill(x, y, 0xFF)) << x << "," << y;
            }
            if (inside && !pic.IsFill(x, y, 0xFF)) ++changedInside;
        }
    EXPECT_GT(changedInside, 20);
}

TEST(TextRendererTest, TextPartlyOutsideThePictureIsClippedToIt) {
    TestPicture pic(30, 10);
    TextRect everything{-1000, -1000, 1000, 1000};
    for (auto [x, y] : {std::pair{-20, -10}, {20, 5}, {-500, 0}, {0, 300}, {1 << 29, 0}, {-(1 << 29), 3}})
        TextRenderer::Shared().Draw("Anonymous", Arial(24), pic.Target(), x, y, everything, 0, 0x00FF00);
    SUCCEED() << "no write outside the picture (checked by the address sanitizer build)";
}

TEST(TextRendererTest, SelectionBoxIsOpaqueInTheBackgroundColourOverTheWholeCell) {
    TestPicture pic(100, 30);
    TextRect clip{0, 0, 100, 30};
    // Red text (COLORREF 0x0000FF) on a blue box (0xFF0000): bytes are blue, green, red.
    int width = TextRenderer::Shared().Draw("ony", Arial(18), pic.Target(), 10, 4, clip, 0x0000FF, 0xFF0000);
    ASSERT_GT(width, 0);
    int red = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) {
            bool inBox = x >= 10 && x < 10 + width && y >= 4 && y < 4 + 18;
            auto p = pic.At(x, y);
            if (!inBox) {
                ASSERT_TRUE(pic.IsFill(x, y, 0xFF)) << x << "," << y;
                continue;
            }
            ASSERT_EQ(p[1], 0) << "no white shows through the box at " << x << "," << y;
            ASSERT_EQ(p[0] + p[2], 255 + (p[0] + p[2] > 255 ? 1 : 0)) << "only blue and red mix";
            if (p[2] >= 200) ++red;
        }
    EXPECT_GT(red, 10) << "the glyphs show in the text colour";
    EXPECT_EQ(pic.At(10, 4)[0], 255) << "top-left corner of the box is background";
}

TEST(TextRendererTest, BottomUpAndTopDownPicturesGetTheSameImage) {
    TestPicture up(60, 24, 0xFF, true), down(60, 24, 0xFF, false);
    TextRect clip{0, 0, 60, 24};
    TextRenderer::Shared().Draw("Frog", Arial(20), up.Target(), 3, 2, clip, 0x203040);
    TextRenderer::Shared().Draw("Frog", Arial(20), down.Target(), 3, 2, clip, 0x203040);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(up.At(x, y), down.At(x, y)) << x << "," << y;
}

TEST(TextRendererTest, UnderlineDrawsALineBelowTheBaseline) {
    TestPicture plain(80, 30), underlined(80, 30);
    TextRect clip{0, 0, 80, 30};
    TextStyle style = Arial(24);
    TextRenderer::Shared().Draw("ab", style, plain.Target(), 0, 0, clip, 0);
    style.underline = true;
    int width = TextRenderer::Shared().Draw("ab", style, underlined.Target(), 0, 0, clip, 0);
    int ascent = TextRenderer::Shared().Ascent(style);
    int lineRow = -1;
    for (int y = ascent; y < 24 && lineRow < 0; ++y) {
        bool full = true;
        for (int x = 0; x < width; ++x) full = full && underlined.At(x, y)[0] == 0;
        if (full) lineRow = y;
    }
    EXPECT_GT(lineRow, ascent - 1) << "a solid line across the whole width, below the baseline";
    EXPECT_FALSE(plain.IsFill(0, 0, 0));
}

TEST(TextRendererTest, ThreadsDrawingAtOnceGetTheSamePixelsAsOneThread) {
    TextRenderer renderer;
    auto drawAll = [&renderer](TestPicture& pic, int seed) {
        for (int i = 0; i < 20; ++i) {
            TextStyle s = Arial(10 + (i + seed) % 7 * 3, (i % 2) * 800);
            renderer.Draw("Anonymous 123", s, pic.Target(), i % 5, (i * 7) % 40, {0, 0, 200, 60}, 0x102030);
            renderer.Measure("Anonymous", s);
        }
    };
    std::vector<TestPicture> reference, concurrent;
    for (int t = 0; t < 4; ++t) {
        reference.emplace_back(200, 60);
        concurrent.emplace_back(200, 60);
    }
    {
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) threads.emplace_back(drawAll, std::ref(concurrent[t]), t);
        for (auto& th : threads) th.join();
    }
    for (int t = 0; t < 4; ++t) drawAll(reference[t], t);
    for (int t = 0; t < 4; ++t) EXPECT_EQ(concurrent[t].bytes, reference[t].bytes) << "thread " << t;
}

}  // namespace
