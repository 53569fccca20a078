#include <gtest/gtest.h>

#include "graphics/LiveSet.h"
#include "graphics/OBitmap.h"
#include "graphics/OClip.h"
#include "graphics/OClipBucks.h"
#include "platform/ProgramPath.h"
#include "tests/graphics/ClipsFixture.h"
#include "tests/support/ClipFileBuilder.h"

namespace {

using namespace clips_test;

std::vector<uint8_t> TwoFrames() {
    testing_support::ClipFileBuilder b;
    b.Picture(testing_support::PictureRecordBytes(6, 5, 0x01000000));
    b.Frame({0, 0, 0, 0, {}}).Frame({1, 0, 0, 0, {}});
    return b.Build();
}

// Clip files beside a program folder of the test's own.
class ClipBucksTest : public ClipsWindowTest {
  protected:
    void SetUp() override {
        ClipsWindowTest::SetUp();
        saved_ = platform::ProgramDirectory();
        platform::SetProgramDirectoryForTesting(folder_.Path().string());
        for (int i = 0; i < 2; ++i)
            WriteFile(folder_.Path() / "CLP" / ("fly" + std::to_string(i) + ".clp"), TwoFrames());
    }
    void TearDown() override {
        platform::SetProgramDirectoryForTesting(saved_);
        ClipsWindowTest::TearDown();
    }
    TempFolder folder_;
    std::string saved_;
};

TEST_F(ClipBucksTest, LoadSetIsAllOrNothing) {
    const size_t liveBefore = live_set::Count();
    const int buffersBefore = OBitmap::LivePixelBuffers();
    OClipBucks set;
    EXPECT_FALSE(set.LoadSet(3, "CLP\\fly")) << "fly2.clp is missing";
    EXPECT_TRUE(set.Clips().empty());
    EXPECT_EQ(live_set::Count(), liveBefore) << "the clips already loaded are destroyed";
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore);

    ASSERT_TRUE(set.LoadSet(2, "CLP\\fly"));
    ASSERT_EQ(set.Clips().size(), 2u);
    set.SetKeep(true);
    EXPECT_FALSE(set.LoadSet(3, "CLP\\fly")) << "a second failing load leaves the first set alone";
    EXPECT_EQ(set.Clips().size(), 2u);
    for (OClip* c : set.Clips()) EXPECT_TRUE(IsLive(c));
    set.SetKeep(false);
    set.Destroy();
    EXPECT_EQ(live_set::Count(), liveBefore);
}

TEST_F(ClipBucksTest, SelectingShowsOneClipAndHidesTheRest) {
    OClipBucks set;
    ASSERT_TRUE(set.LoadSet(2, "CLP\\fly"));
    EXPECT_EQ(set.CurrentIndex(), 0);
    EXPECT_TRUE(set.Clips()[0]->IsVisible());
    EXPECT_EQ(set.Clips()[0]->Transparency(), 0u);
    EXPECT_FALSE(set.Clips()[1]->IsVisible());
    EXPECT_EQ(set.Clips()[1]->Transparency(), 255u);
    EXPECT_TRUE(set.IsShown());
    set.PlaceAt(50, 60);
    set.AddTo(w);
    Frame();
    set.SetCurrent(1);
    EXPECT_FALSE(set.Clips()[0]->IsVisible());
    EXPECT_TRUE(set.Clips()[1]->IsVisible());
    EXPECT_EQ(set.X(), 50);
    EXPECT_EQ(set.Y(), 60);
    EXPECT_EQ(set.Width(), 7);
    EXPECT_EQ(set.FrameCount(), 2);
    set.SetFrame(1);
    EXPECT_TRUE(set.Clips()[1]->IsHolding());
    EXPECT_EQ(set.Frame(), 1);
    set.SetFrame(7);
    EXPECT_EQ(set.Frame(), 1) << "a frame outside the clip is ignored";
    set.HideAll();
    EXPECT_FALSE(set.IsShown());
}

TEST_F(ClipBucksTest, CopyFromClonesEveryClipSharingPixels) {
    OClipBucks prototype;
    ASSERT_TRUE(prototype.LoadSet(2, "CLP\\fly"));
    prototype.SetDepth(45);
    prototype.SetRate(12);
    prototype.SetCurrent(1);
    const int buffers = OBitmap::LivePixelBuffers();
    OClipBucks copy;
    copy.CopyFrom(prototype);
    ASSERT_EQ(copy.Clips().size(), 2u);
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffers) << "no pixels are copied";
    EXPECT_EQ(copy.CurrentIndex(), 1);
    EXPECT_EQ(copy.Depth(), 45);
    EXPECT_EQ(copy.Rate(), 12);
    EXPECT_EQ(copy.Clips()[0]->Template(), prototype.Clips()[0]);
    EXPECT_EQ(copy.Clips()[1]->FrameRate(), 12);
    EXPECT_EQ(copy.Clips()[0]->Depth(), 45);
    copy.Destroy();
    prototype.Destroy();
}

TEST(GeneratedClipSets, TheGamesFlySetLoadsBesideTheProgram) {
    const std::string saved = platform::ProgramDirectory();
    platform::SetProgramDirectoryForTesting(MARSHWADE_BINARY_DIR);
    OClipBucks flies;
    EXPECT_TRUE(flies.LoadSet(4, "CLP\\1-fly"));
    EXPECT_EQ(flies.Clips().size(), 4u);
    EXPECT_EQ(flies.Width(), 78);
    flies.Destroy();
    platform::SetProgramDirectoryForTesting(saved);
}

}  // namespace
