#include <gtest/gtest.h>

#include "graphics/PictureMask.h"

namespace {

using graphics::Picture;

Picture Make(int32_t width, int32_t height, uint32_t bits, std::vector<uint8_t> rows) {
    Picture p;
    p.width = width;
    p.height = height;
    p.bitsPerPixel = bits;
    p.stride = static_cast<uint32_t>(graphics::RowStride(static_cast<uint32_t>(width), bits));
    p.bits = std::move(rows);
    p.bits.resize(p.ImageSize() + Picture::kSpareBytes, 0);
    return p;
}

TEST(PictureMaskTest, KeyIsTheFirstPixelInMemoryMaskedToTheDepth) {
    std::vector<uint8_t> bytes = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    EXPECT_EQ(graphics::KeyFromFirstPixel(Make(2, 1, 24, bytes)), 0x332211u) << "4th byte is the next pixel";
    EXPECT_EQ(graphics::KeyFromFirstPixel(Make(2, 1, 32, bytes)), 0x44332211u);
    EXPECT_EQ(graphics::KeyFromFirstPixel(Make(2, 1, 16, bytes)), 0x2211u);
    EXPECT_EQ(graphics::KeyFromFirstPixel(Make(2, 1, 8, bytes)), 0x11u);
    EXPECT_EQ(graphics::KeyFromFirstPixel(Make(8, 1, 1, bytes)), 0x11u) << "below 8 bits, one byte";
}

TEST(PictureMaskTest, OneByOnePictureReadsItsKeyFromThePaddedRow) {
    EXPECT_EQ(graphics::KeyFromFirstPixel(Make(1, 1, 24, {0xFF, 0x00, 0xFF})), 0xFF00FFu);
}

TEST(PictureMaskTest, PicturesWithoutPixelsHaveNoKey) {
    EXPECT_FALSE(graphics::KeyFromFirstPixel(Picture{}).has_value());
    EXPECT_FALSE(graphics::KeyFromFirstPixel(Make(0, 3, 24, {})).has_value());
    Picture cut = Make(2, 2, 24, {});
    cut.bits.resize(4);  // fewer bytes than the geometry claims
    EXPECT_FALSE(graphics::KeyFromFirstPixel(cut).has_value());
    EXPECT_EQ(graphics::BuildTransparencyMask(cut, 0).size(), cut.ImageSize() + 4);
}

TEST(PictureMaskTest, KeyedPixelsBecomeAllOnesAndEverythingElseStaysZero) {
    // 3 x 2, 24 bits: stride 12, 3 bytes of padding per row. The padding is 0 like a black pixel, and
    // the key is black, so only real pixels may be marked.
    std::vector<uint8_t> rows = {0, 0, 0, 1, 0, 0, 0, 0, 0, 9, 9, 9,  // black, blue 1, black + padding
                                 0, 0, 1, 0, 0, 0, 0, 1, 0, 9, 9, 9};
    Picture p = Make(3, -2, 24, rows);
    auto mask = graphics::BuildTransparencyMask(p, 0x000000);
    std::vector<uint8_t> expected = {0xFF, 0xFF, 0xFF, 0,    0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0,
                                     0,    0xFF, 0xFF, 0xFF, 0, 0, 0,    0,    0,    0, 0, 0, 0, 0};
    EXPECT_EQ(mask, expected);
}

TEST(PictureMaskTest, KeyBitsAboveTheDepthAreIgnored) {
    Picture p = Make(1, 1, 24, {0xFF, 0x00, 0xFF});
    auto mask = graphics::BuildTransparencyMask(p, 0xAAFF00FF);
    EXPECT_EQ(mask[0], 0xFF);
    EXPECT_EQ(mask[2], 0xFF);
}

TEST(PictureMaskTest, ThirtyTwoBitPixelsCompareAllFourBytes) {
    Picture p = Make(2, 1, 32, {1, 2, 3, 4, 1, 2, 3, 5});
    auto mask = graphics::BuildTransparencyMask(p, 0x04030201);
    EXPECT_EQ(std::vector<uint8_t>(mask.begin(), mask.begin() + 8),
              (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));
}

}  // namespace
