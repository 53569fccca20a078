#include "platform/DisplayScale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {
namespace {

TEST(DisplayScaleTest, ParsesTheSettingAndRejectsEverythingElse) {
    const struct {
        const char* text;
        std::optional<int32_t> want;
    } cases[] = {
        {"", 0},       {"auto", 0},           {"1", 1},           {"2", 2},          {"8", 8},
        {"0", std::nullopt},  {"9", std::nullopt},   {"-1", std::nullopt}, {"2x", std::nullopt},
        {"AUTO", std::nullopt}, {"007", std::nullopt}, {" 2", std::nullopt}, {"1.5", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseScale(c.text), c.want) << '"' << c.text << '"';
}

TEST(DisplayScaleTest, FitsTheLargestWholeScale) {
    const struct {
        int32_t w, h, want;
    } cases[] = {
        {2560, 1600 - 48, 2},  // the height decides
        {2250, 1650, 3},       // exactly 3x
        {2249, 1650, 2},       // one pixel short of 3x
        {1024, 768, 1},
        {640, 480, 1},         // smaller than the picture: still 1x
        {0, 0, 1},
        {100000, 100000, kMaxScale},
    };
    for (const auto& c : cases) EXPECT_EQ(FitScale(c.w, c.h, 750, 550), c.want) << c.w << 'x' << c.h;
}

TEST(DisplayScaleTest, MapsWindowPixelsBackToLogicalOnes) {
    const Placement full = CentredPlacement(2560, 1600, 750, 550);  // fullscreen: 2x, centred
    ASSERT_EQ(full.scale, 2);
    ASSERT_EQ(full.offsetX, 530);
    ASSERT_EQ(full.offsetY, 250);
    const struct {
        int32_t x, y, wantX, wantY;
    } cases[] = {
        {530, 250, 0, 0},       {531, 251, 0, 0},     {532, 252, 1, 1},
        {529, 249, -1, -1},     // the border left of and above the picture is outside it
        {2029, 1349, 749, 549}, {2030, 1350, 750, 550},
        {0, 0, -265, -125},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(full.ToLogicalX(c.x), c.wantX) << c.x;
        EXPECT_EQ(full.ToLogicalY(c.y), c.wantY) << c.y;
    }
}

// The art to compose from must divide the window's scale and the fullscreen one, or one of them
// would show it at a fraction of a screen pixel per pixel.
TEST(DisplayScaleTest, ChoosesTheLargestInstalledArtThatDividesBothScales) {
    const struct {
        int32_t window, fullscreen;
        std::vector<int32_t> installed;
        int32_t want;
    } cases[] = {
        {2, 2, {2, 3}, 2}, {3, 3, {2, 3}, 3}, {4, 4, {2, 3}, 2}, {6, 6, {2, 3}, 3},
        {2, 3, {2, 3}, 1},  // 4K-like: windowed 2x, fullscreen 3x
        {1, 2, {2, 3}, 1}, {3, 3, {2}, 1},  {2, 2, {}, 1},  {8, 8, {2, 3}, 2},
    };
    for (const auto& c : cases) {
        const auto installed = [&](int32_t scale) {
            return std::find(c.installed.begin(), c.installed.end(), scale) != c.installed.end();
        };
        EXPECT_EQ(ChooseArtScale(c.window, c.fullscreen, kMaxScale, installed), c.want)
            << c.window << "x windowed, " << c.fullscreen << "x fullscreen";
    }
}

// A picture composed at a detail is enlarged only by what is left of the fitting scale, and centred
// as the logical picture would be.
TEST(DisplayScaleTest, PlacesAPictureOfADetailWhereTheLogicalOneWouldBe) {
    const struct {
        int32_t w, h, detail, scale, x, y;
    } cases[] = {
        {1500, 1100, 2, 1, 0, 0},    {2560, 1600, 2, 1, 530, 250}, {2560, 1600, 1, 2, 530, 250},
        {3840, 2160, 3, 1, 795, 255}, {3000, 2200, 2, 2, 0, 0},     {1000, 800, 2, 1, 0, 0},
    };
    for (const auto& c : cases) {
        const Placement at = DetailPlacement(c.w, c.h, 750, 550, c.detail);
        EXPECT_EQ(at.scale, c.scale) << c.w << 'x' << c.h << " at detail " << c.detail;
        EXPECT_EQ(at.offsetX, c.x) << c.w << 'x' << c.h;
        EXPECT_EQ(at.offsetY, c.y) << c.w << 'x' << c.h;
    }
}

// A 3 x 2 picture with a distinct colour in each pixel, copied scaled into a framebuffer with room
// around it: every source pixel must become a full square and nothing outside the rectangle moves.
TEST(DisplayScaleTest, ScaledCopyFillsSquaresOfTheDirtyRectangleOnly) {
    const int32_t w = 3, h = 2, stride = 12;
    std::vector<uint8_t> bits(static_cast<size_t>(stride) * h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = bits.data() + static_cast<size_t>(h - 1 - y) * stride + x * 3;  // bottom-up
            p[0] = static_cast<uint8_t>(10 + x);
            p[1] = static_cast<uint8_t>(20 + y);
            p[2] = 30;
        }
    const PictureView picture{bits.data(), w, h, stride};
    for (int32_t scale : {1, 2, 3}) {
        const Placement at{scale, 2, 1};
        const int32_t fw = 2 + w * scale + 2, fh = 1 + h * scale + 1, pitch = fw * 4;
        std::vector<uint32_t> frame(static_cast<size_t>(fw) * fh, 0xDEADBEEF);
        const Rect dirty{1, 0, 3, 1};  // the right two pixels of the top row
        ScaleRectToBgrx(picture, dirty, at, reinterpret_cast<uint8_t*>(frame.data()), pitch, 0xFF);
        for (int32_t fy = 0; fy < fh; ++fy)
            for (int32_t fx = 0; fx < fw; ++fx) {
                const int32_t lx = at.ToLogicalX(fx), ly = at.ToLogicalY(fy);
                const bool inside = lx >= dirty.left && lx < dirty.right && ly >= dirty.top && ly < dirty.bottom &&
                                    fx >= at.offsetX && fy >= at.offsetY;
                const uint32_t want = inside ? 0xFF000000u | 30u << 16 | static_cast<uint32_t>(20 + ly) << 8 |
                                                   static_cast<uint32_t>(10 + lx)
                                             : 0xDEADBEEFu;
                EXPECT_EQ(frame[static_cast<size_t>(fy) * fw + fx], want)
                    << "scale " << scale << " at " << fx << ',' << fy;
            }
    }
}

}  // namespace
}  // namespace platform
