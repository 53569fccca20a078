// With the optional image-processing library present (a fake of it), the window's picture and every
// bitmap get their headers, copies share them, and each is released once.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "graphics/EffectsLibrary.h"
#include "graphics/OBitmap.h"
#include "tests/graphics/ClipsFixture.h"
#include "tests/support/ClipFileBuilder.h"
#include "tests/graphics/FakeEffectsLog.h"

namespace {

using graphics::EffectsLibrary;

FakeEffectsLog& Log() {
    static FakeEffectsLog* log = [] {
        void* handle = dlopen(FAKE_EFFECTS_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
        auto get = reinterpret_cast<FakeEffectsLog* (*)()>(dlsym(handle, "FakeEffectsGetLog"));
        return get();
    }();
    return *log;
}

class EffectsWiringTest : public HeadlessWindowTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(EffectsLibrary::LoadFrom(FAKE_EFFECTS_LIBRARY)) << dlerror();
        HeadlessWindowTest::SetUp();
    }
};

TEST_F(EffectsWiringTest, WindowPictureGetsAHeaderOverItsPixelsReleasedAtTeardown) {
    TestWindow* w = Make();
    graphics::EffectsImage* header = w->EffectsHeader();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->width, w->GetPicture()->Width());
    EXPECT_EQ(header->height, w->GetPicture()->Height());
    EXPECT_EQ(header->origin, 1) << "the picture's rows are bottom-up";
    EXPECT_EQ(header->imageData, w->GetPicture()->Bits());
    Log().deallocations.clear();
    Close(w);
    EXPECT_EQ(Log().deallocations, (std::vector<int>{1}));
}

TEST_F(EffectsWiringTest, BitmapHeaderIsSharedByCopiesAndReleasedOnceWithItsMask) {
    auto* b = new OBitmap();
    ASSERT_TRUE(b->LoadFromStream(testing_support::PictureRecordBytes(3, 2, 0xFF00FF)));
    graphics::EffectsImage* header = b->EffectsHeader();
    ASSERT_NE(header, nullptr);
    EXPECT_NE(header->maskImage, nullptr);
    EXPECT_EQ(header->imageData, b->GetPicture()->bits.data());
    OGraph* copy = b->Clone();
    EXPECT_EQ(static_cast<OBitmap*>(copy)->EffectsHeader(), header);
    Log().deallocations.clear();
    b->Destroy();
    EXPECT_TRUE(Log().deallocations.empty()) << "the copy still uses it";
    copy->Destroy();
    EXPECT_EQ(Log().deallocations, (std::vector<int>{3, 1}));
}

}  // namespace
