#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/EffectsLibrary.h"
#include "tests/graphics/FakeEffectsLog.h"

namespace {

using graphics::EffectsImage;
using graphics::EffectsLibrary;

FakeEffectsLog& Log() {
    static FakeEffectsLog* log = [] {
        void* handle = dlopen(FAKE_EFFECTS_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
        auto get = reinterpret_cast<FakeEffectsLog* (*)()>(dlsym(handle, "FakeEffectsGetLog"));
        return get();
    }();
    return *log;
}

class EffectsLibraryPresentTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(EffectsLibrary::LoadFrom(FAKE_EFFECTS_LIBRARY)) << dlerror(); }
};

TEST_F(EffectsLibraryPresentTest, PictureHeaderPointsAtTheCallersPixels) {
    uint8_t pixels[12 * 2 + 4] = {};
    EffectsImage* header = EffectsLibrary::CreatePictureHeader({3, 2, 24}, pixels);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->channels, 3);
    EXPECT_EQ(header->depth, 8);
    EXPECT_STREQ(header->colourModel, "RGB");
    EXPECT_STREQ(header->channelSequence, "BGR");
    EXPECT_EQ(header->origin, 1) << "positive height: bottom-left origin";
    EXPECT_EQ(header->align, 4);
    EXPECT_EQ(header->height, 2);
    EXPECT_EQ(header->imageData, pixels);
    EXPECT_EQ(header->maskImage, nullptr);
    EffectsLibrary::ReleaseHeader(header);
    EXPECT_EQ(header, nullptr);

    EffectsImage* topDown = EffectsLibrary::CreatePictureHeader({3, -2, 24}, pixels);
    EXPECT_EQ(topDown->origin, 0);
    EXPECT_EQ(topDown->height, 2);
    EffectsLibrary::ReleaseHeader(topDown);
}

TEST_F(EffectsLibraryPresentTest, BitmapMaskMarksEveryPixelThatDiffersFromTheKey) {
    // 3 x 2, stride 12: magenta, grey, magenta / grey, magenta, grey
    uint8_t pixels[12 * 2 + 4] = {0xFF, 0, 0xFF, 9,    9, 9,    0xFF, 0, 0xFF, 0, 0, 0,
                                  9,    9, 9,    0xFF, 0, 0xFF, 9,    9, 9,    0, 0, 0};
    EffectsImage* header = EffectsLibrary::CreateBitmapHeader({3, 2, 24}, pixels, 0xFF00FF);
    ASSERT_NE(header, nullptr);
    ASSERT_NE(header->maskImage, nullptr);
    EffectsImage* mask = header->maskImage;
    EXPECT_EQ(mask->channels, 1);
    EXPECT_STREQ(mask->colourModel, "GRAY");
    const uint8_t expected[2][3] = {{0, 1, 0}, {1, 0, 1}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(mask->imageData[y * mask->rowBytes + x], expected[y][x]) << x << "," << y;

    Log().deallocations.clear();
    EffectsLibrary::ReleaseHeader(header);
    EXPECT_EQ(Log().deallocations, (std::vector<int>{3, 1}))
        << "the mask with its data, then the header alone";
}

TEST_F(EffectsLibraryPresentTest, DrawingCopiesWhenNearlyOpaqueAndCompositesOtherwise) {
    uint8_t bitmapPixels[12 * 2 + 4] = {}, picturePixels[12 * 4 + 4] = {};
    EffectsImage* bitmap = EffectsLibrary::CreateBitmapHeader({3, 2, 24}, bitmapPixels, 0);
    EffectsImage* picture = EffectsLibrary::CreatePictureHeader({3, 4, 24}, picturePixels);
    int copies = Log().copies, composites = Log().composites;

    EffectsLibrary::DrawThroughLibrary(picture, bitmap, {1, 2, 2, 1}, {0, 1, 2, 1}, 11);
    EXPECT_EQ(Log().copies, copies + 1);
    EXPECT_EQ(Log().sourceRegion.y, 1);
    EXPECT_EQ(Log().maskRegion.width, 2);
    EXPECT_EQ(Log().destinationRegion.x, 1);
    EXPECT_EQ(Log().destinationRegion.y, 2);
    EXPECT_EQ(bitmap->region, nullptr) << "regions are cleared after drawing";
    EXPECT_EQ(picture->region, nullptr);

    EffectsLibrary::DrawThroughLibrary(picture, bitmap, {0, 0, 3, 2}, {0, 0, 3, 2}, 128);
    EXPECT_EQ(Log().composites, composites + 1);
    EXPECT_EQ(Log().compositeArguments, (std::array<int, 5>{0, 127, 255, 1, 0}));

    EffectsLibrary::ReleaseHeader(bitmap);
    EffectsLibrary::ReleaseHeader(picture);
}

}  // namespace
