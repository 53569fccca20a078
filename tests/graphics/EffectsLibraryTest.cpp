#include <gtest/gtest.h>

#include "graphics/EffectsLibrary.h"

namespace {

using graphics::EffectsLibrary;

// No ordinary system has the library; everything must then quietly do nothing.
TEST(EffectsLibraryTest, AbsentLibraryMakesEveryOperationANoOp) {
    EXPECT_FALSE(EffectsLibrary::Load());
    EXPECT_FALSE(EffectsLibrary::Load()) << "asking again gives the same answer";
    EXPECT_FALSE(EffectsLibrary::IsLoaded());
    uint8_t pixels[3 * 4 + 4] = {};
    EffectsLibrary::PictureInfo info{2, 2, 24};
    EXPECT_EQ(EffectsLibrary::CreatePictureHeader(info, pixels), nullptr);
    graphics::EffectsImage* header = EffectsLibrary::CreateBitmapHeader(info, pixels, 0xFF00FF);
    EXPECT_EQ(header, nullptr);
    EffectsLibrary::ReleaseHeader(header);
    EffectsLibrary::DrawThroughLibrary(nullptr, nullptr, {0, 0, 2, 2}, {0, 0, 2, 2}, 0);
    EXPECT_EQ(header, nullptr);
}

TEST(EffectsLibraryTest, ElevenEntryPointsAreLookedUp) {
    EXPECT_EQ(EffectsLibrary::kEntryPointCount, 11);
    EXPECT_STREQ(EffectsLibrary::kEntryPointNames[5], "iplCreateImageHeader");
    EXPECT_STREQ(EffectsLibrary::kEntryPointNames[10], "iplDeallocate");
}

}  // namespace
