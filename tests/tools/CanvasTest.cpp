#include "tools/assetgen/Canvas.h"

#include <gtest/gtest.h>

namespace {

using assetgen::Canvas;
using assetgen::Rgb;

constexpr Rgb kKey{255, 0, 255};
constexpr Rgb kGround{0, 100, 200};

TEST(CanvasTest, UntouchedPixelsBecomeTheKey) {
    Canvas c(4, 3);
    const auto p = c.ToSprite(kKey, kGround);
    EXPECT_EQ(p.key, assetgen::KeyValue(kKey));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_TRUE(p.IsKey(x, y));
}

TEST(CanvasTest, OpaquePixelsKeepTheirColourAndHalfCoveredOnesBlendIntoTheGround) {
    Canvas c(2, 1);
    cairo_rectangle(c.cr(), 0, 0, 1, 1);
    assetgen::SetRgb(c.cr(), Rgb{200, 40, 0});
    cairo_fill(c.cr());
    cairo_rectangle(c.cr(), 1, 0, 1, 1);
    assetgen::SetRgb(c.cr(), Rgb{200, 40, 0}, 0.5);
    cairo_fill(c.cr());
    const auto p = c.ToSprite(kKey, kGround);
    EXPECT_EQ(p.At(0, 0), (Rgb{200, 40, 0}));
    const Rgb half = p.At(1, 0);
    EXPECT_NEAR(half.r, 100, 2);
    EXPECT_NEAR(half.g, 70, 2);
    EXPECT_NEAR(half.b, 100, 2);
}

TEST(CanvasTest, AFaintlyCoveredPixelIsBackgroundNotAFringe) {
    Canvas c(1, 1);
    assetgen::SetRgb(c.cr(), Rgb{255, 255, 255}, 0.04);
    cairo_paint(c.cr());
    EXPECT_TRUE(c.ToSprite(kKey, kGround).IsKey(0, 0));
}

TEST(CanvasTest, ADrawnPixelEqualToTheKeyIsNudgedOffIt) {
    Canvas c(1, 1);
    assetgen::SetRgb(c.cr(), kKey);
    cairo_paint(c.cr());
    const auto p = c.ToSprite(kKey, kGround);
    EXPECT_FALSE(p.IsKey(0, 0));
    EXPECT_EQ(p.At(0, 0).r, 255);
    EXPECT_EQ(p.At(0, 0).g, 0);
}

TEST(CanvasTest, OpaqueConversionComposesOverTheGivenColour) {
    Canvas c(1, 1);
    const auto p = c.ToOpaque(kGround, 42);
    EXPECT_EQ(p.At(0, 0), kGround);
    EXPECT_EQ(p.key, 42u);
}

TEST(CanvasTest, KeyValueOrdersBlueGreenRed) {
    EXPECT_EQ(assetgen::KeyValue(Rgb{1, 212, 226}), 120034u);
    EXPECT_EQ(assetgen::FromKeyValue(120034), (Rgb{1, 212, 226}));
}

}  // namespace
