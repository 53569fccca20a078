#include <gtest/gtest.h>

#include "graphics/OffscreenPicture.h"

namespace {

TEST(OffscreenPicture, StrideRoundsRowsUpToWholeWords) {
    EXPECT_EQ(OffscreenPicture::StrideFor(1), 4);
    EXPECT_EQ(OffscreenPicture::StrideFor(750), 2252);
    EXPECT_EQ(OffscreenPicture::StrideFor(1024), 3072);
}

TEST(OffscreenPicture, BackgroundIsStoredBlueGreenRedAndRowsAreBottomUp) {
    OffscreenPicture p(5, 4, 0xD0A743);
    p.FillBackground({0, 0, 1, 1});  // only the top-left pixel
    const uint8_t* lastMemoryRow = p.Bits() + 3 * p.Stride();
    EXPECT_EQ(lastMemoryRow[0], 0xD0);
    EXPECT_EQ(lastMemoryRow[1], 0xA7);
    EXPECT_EQ(lastMemoryRow[2], 0x43);
    EXPECT_EQ(p.Bits()[0], 0);  // the bottom row is untouched
    EXPECT_EQ(lastMemoryRow[3], 0);
}

TEST(OffscreenPicture, FillIsClampedToThePictureAndIgnoresAreasOutside) {
    OffscreenPicture p(4, 4, 0xFFFFFF);
    p.FillBackground({-10, -10, 100, 2});
    p.FillBackground({4, 0, 9, 9});
    p.FillBackground({0, -5, 4, 0});
    EXPECT_EQ(p.Row(1)[3 * 3 + 2], 0xFF);
    EXPECT_EQ(p.Row(2)[0], 0);
}

}  // namespace
