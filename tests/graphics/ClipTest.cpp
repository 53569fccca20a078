#include <gtest/gtest.h>

#include <sstream>

#include "graphics/ClipFileReader.h"
#include "graphics/LiveSet.h"
#include "graphics/OBitmap.h"
#include "graphics/OClip.h"
#include "platform/ProgramPath.h"
#include "tests/graphics/ClipsFixture.h"
#include "tests/support/ClipFileBuilder.h"

namespace {

using namespace clips_test;
using testing_support::ClipFileBuilder;
using testing_support::FrameSpec;
using testing_support::PictureRecordBytes;

// Frame i shows a 4 x 4 picture of colour kColours[i] at the clip's origin.
constexpr uint32_t kColours[] = {0x0000C0, 0x00C000, 0xC00000, 0xC0C000, 0x00C0C0};

Colour ColourOf(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16)};
}

std::vector<uint8_t> SolidRecord(uint32_t colour, int size = 4) {
    return PictureRecordBytes(size, size, 0x01000000, [colour](int, int) { return colour; });
}

std::vector<uint8_t> Frames(const std::vector<std::vector<int32_t>>& commands, float rate = 10.0f) {
    ClipFileBuilder b;
    b.Rate(rate);
    for (size_t i = 0; i < commands.size(); ++i) {
        b.Picture(SolidRecord(kColours[i]));
        b.Frame({0, 0, 0, static_cast<int16_t>(i), commands[i]});
    }
    return b.Build();
}

class ClipTest : public ClipsWindowTest {
  protected:
    OClip* Attached(const std::vector<uint8_t>& file, float x = 10, float y = 10) {
        auto* clip = new OClip();
        EXPECT_TRUE(clip->LoadFromBytes(file));
        clip->SetPosition(x, y, 0);
        w->AddGraph(clip);
        return clip;
    }
    // The index of the frame colour at (11, 11) after each of `steps` frame steps; -1 for the pond.
    std::vector<int> Shown(int steps) {
        std::vector<int> out;
        for (int i = 0; i < steps; ++i) {
            Frame();
            int index = -1;
            for (int c = 0; c < 5; ++c)
                if (At(11, 11) == ColourOf(kColours[c])) index = c;
            out.push_back(index);
        }
        return out;
    }
};

TEST_F(ClipTest, RateTenInAFiftyStepWindowShowsEachFrameForFiveSteps) {
    OClip* clip = Attached(Frames({{}, {}, {}}));
    EXPECT_EQ(clip->FrameRate(), 10);
    EXPECT_EQ(w->FrameRate(), 50) << "a slower clip does not lower the window's rate";
    const std::vector<int> expected{0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 0, 0};
    EXPECT_EQ(Shown(17), expected);
}

TEST_F(ClipTest, FasterClipRaisesTheWindowsRateAndAdvancesAtMostOncePerStep) {
    Attached(Frames({{}, {}}, 100.0f));
    EXPECT_EQ(w->FrameRate(), 100);
    EXPECT_EQ(Shown(4), (std::vector<int>{0, 1, 0, 1}));
}

TEST_F(ClipTest, CommandsThreeZeroLoopBackAfterTheirFrame) {
    Attached(Frames({{}, {3, 0}, {}}, 50.0f));
    EXPECT_EQ(Shown(6), (std::vector<int>{0, 1, 0, 1, 0, 1}));
}

TEST_F(ClipTest, CommandOneHoldsOnItsFrameUntilPlayFrom) {
    OClip* clip = Attached(Frames({{}, {1}, {}}, 50.0f));
    EXPECT_EQ(Shown(6), (std::vector<int>{0, 1, 1, 1, 1, 1}));
    EXPECT_TRUE(clip->IsHolding());
    clip->PlayFrom(2);
    EXPECT_EQ(Shown(3), (std::vector<int>{2, 0, 1}));
}

TEST_F(ClipTest, CommandFourHoldsAtTheNamedFrame) {
    OClip* clip = Attached(Frames({{4, 2}, {}, {}}, 50.0f));
    EXPECT_EQ(Shown(4), (std::vector<int>{0, 2, 2, 2}));
    EXPECT_EQ(clip->ShownIndex(), 2);
}

TEST_F(ClipTest, UnknownCommandsAndAMissingArgumentAreIgnored) {
    Attached(Frames({{99, 3}, {7, 4}, {}}, 50.0f));
    EXPECT_EQ(Shown(4), (std::vector<int>{0, 1, 2, 0}));
}

TEST_F(ClipTest, CommandTwoDestroysTheClipAndItsFramesAfterShowing) {
    const size_t liveBefore = live_set::Count();
    const int buffersBefore = OBitmap::LivePixelBuffers();
    OClip* clip = Attached(Frames({{}, {2}, {}}, 50.0f));
    Frame();
    EXPECT_TRUE(IsLive(clip));
    Frame();  // frame 1 is shown, then its command ends the clip
    EXPECT_FALSE(IsLive(clip));
    EXPECT_TRUE(w->Graphics().empty());
    EXPECT_EQ(live_set::Count(), liveBefore);
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore);
    Frame();
    EXPECT_EQ(At(11, 11), kPond);
}

TEST_F(ClipTest, KeptClipSurvivesItsOwnEnd) {
    auto* clip = new OClip();
    ASSERT_TRUE(clip->LoadFromBytes(Frames({{2}, {}}, 50.0f)));
    clip->SetKeep(true);
    EXPECT_TRUE(clip->Children()[1]->Keep()) << "the keep flag reaches every frame";
    w->AddGraph(clip);
    Frame();
    Frame();
    EXPECT_TRUE(IsLive(clip));
    clip->SetKeep(false);
    clip->Destroy();
}

TEST_F(ClipTest, TwoFramesNamingOnePictureLoadOneBitmapAndOneClone) {
    const int buffersBefore = OBitmap::LivePixelBuffers();
    ClipFileBuilder b;
    b.Picture(SolidRecord(kColours[0]))
        .Picture(SolidRecord(kColours[1], 6))
        .Picture(SolidRecord(kColours[2]));
    b.Frame({0, 0, 0, 0, {}}).Frame({3, 5, 1, 0, {}}).Frame({0, 0, 0, 1, {}});
    auto* clip = new OClip();
    ASSERT_TRUE(clip->LoadFromBytes(b.Build()));
    ASSERT_EQ(clip->FrameCount(), 3);
    const auto& frames = clip->Children();
    EXPECT_EQ(frames[0]->Template(), nullptr);
    EXPECT_EQ(frames[1]->Template(), frames[0]);
    EXPECT_EQ(frames[0]->CopyCount(), 1);
    EXPECT_EQ(static_cast<OBitmap*>(frames[1])->GetPicture(), static_cast<OBitmap*>(frames[0])->GetPicture());
    EXPECT_EQ(frames[1]->LocalX(), 3);
    EXPECT_EQ(frames[1]->LocalY(), 5);
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore + 2) << "the picture no frame names is freed";
    EXPECT_EQ(clip->Width(), 7);
    EXPECT_EQ(clip->Height(), 9);
    clip->Destroy();
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore);
}

TEST_F(ClipTest, RelativeNameIsFoundBesideTheProgramFromAnotherDirectory) {
    TempFolder program, elsewhere;
    WriteFile(program.Path() / "CLP" / "frog0.clp", Frames({{}, {}}));
    const std::string saved = platform::ProgramDirectory();
    platform::SetProgramDirectoryForTesting(program.Path().string());
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.Path());
    auto* clip = new OClip();
    EXPECT_TRUE(clip->Load("CLP\\frog0.clp"));
    EXPECT_EQ(clip->FrameCount(), 2);
    EXPECT_TRUE(clip->Load("\\CLP\\frog0.clp")) << "a leading backslash is dropped";
    EXPECT_TRUE(clip->Load((program.Path() / "CLP" / "frog0.clp").string())) << "absolute names as given";
    EXPECT_FALSE(clip->Load("x"));
    EXPECT_FALSE(clip->Load("CLP\\missing.clp"));
    std::filesystem::current_path(cwd);
    platform::SetProgramDirectoryForTesting(saved);
    clip->Destroy();
}

TEST_F(ClipTest, WrongMagicAndBrokenFilesFailLeavingTheClipEmptyAndNothingBehind) {
    const size_t liveBefore = live_set::Count();
    const int buffersBefore = OBitmap::LivePixelBuffers();
    auto* clip = new OClip();
    const auto good = Frames({{}, {}});
    ASSERT_TRUE(clip->LoadFromBytes(good));

    auto magic = good;
    magic[0] = 136;
    EXPECT_FALSE(clip->LoadFromBytes(magic));
    EXPECT_EQ(clip->FrameCount(), 0);
    auto cut = good;
    cut.resize(good.size() - 3);
    EXPECT_FALSE(clip->LoadFromBytes(cut));
    auto badIndex = good;
    testing_support::PutAt(
        badIndex, testing_support::kTableOffset + 2 * testing_support::kPictureEntrySize + 24, int16_t{5});
    EXPECT_FALSE(clip->LoadFromBytes(badIndex));
    auto hugeTable = good;
    testing_support::PutAt(hugeTable, testing_support::kTableSizeOffset, uint32_t{0xFFFFFFF0});
    EXPECT_FALSE(clip->LoadFromBytes(hugeTable));
    EXPECT_FALSE(clip->LoadFromBytes({}));
    EXPECT_EQ(clip->FrameCount(), 0);
    clip->Destroy();
    EXPECT_EQ(live_set::Count(), liveBefore);
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore);
}

TEST_F(ClipTest, StreamIsReadToItsEnd) {
    const auto bytes = Frames({{}, {}, {}});
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    auto* clip = new OClip();
    EXPECT_TRUE(clip->LoadFromStream(in, 0));
    EXPECT_EQ(clip->FrameCount(), 3);
    std::istringstream empty;
    EXPECT_FALSE(clip->LoadFromStream(empty, 0));
    clip->Destroy();
}

TEST_F(ClipTest, CloneSharesEveryPictureAndDrawsTheSame) {
    const int buffersBefore = OBitmap::LivePixelBuffers();
    ClipFileBuilder b;
    b.Rate(50).Picture(SolidRecord(kColours[0])).Picture(SolidRecord(kColours[1]));
    b.Frame({0, 0, 0, 0, {}}).Frame({2, 0, 0, 0, {}}).Frame({0, 0, 0, 1, {}});
    auto* original = new OClip();
    ASSERT_TRUE(original->LoadFromBytes(b.Build()));
    auto* copy = static_cast<OClip*>(original->Clone());
    ASSERT_EQ(copy->FrameCount(), 3);
    EXPECT_EQ(copy->FrameRate(), 50);
    EXPECT_EQ(original->CopyCount(), 1);
    for (int i = 0; i < 3; ++i) {
        auto* mine = static_cast<OBitmap*>(copy->Children()[i]);
        auto* theirs = static_cast<OBitmap*>(original->Children()[i]);
        EXPECT_EQ(mine->GetPicture(), theirs->GetPicture()) << i;
        EXPECT_EQ(mine->LocalX(), theirs->LocalX()) << "frame " << i << " keeps its own place";
    }
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore + 2);
    EXPECT_TRUE(original->LoadFromBytes(Frames({{}}))) << "a template with copies keeps its frames";
    EXPECT_EQ(original->FrameCount(), 3);

    copy->SetPosition(40, 40, 0);
    w->AddGraph(copy);
    Frame();
    EXPECT_EQ(At(41, 41), ColourOf(kColours[0]));
    original->Destroy();
    EXPECT_TRUE(IsLive(original));
    Frame();
    EXPECT_EQ(At(41, 41), kPond) << "frame 1 stands two pixels further right";
    EXPECT_EQ(At(43, 41), ColourOf(kColours[0]));
    copy->Destroy();
    EXPECT_FALSE(IsLive(original));
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore);
}

TEST_F(ClipTest, VisibilityReportsTheDisplayedFramesArea) {
    OClip* clip = Attached(Frames({{}, {}}), 10, 10);
    Frame();
    clip->SetVisible(false);
    const std::vector<std::pair<int, ORect>> hidden{{1, {10, 10, 14, 14}}};
    EXPECT_EQ(Pending(), hidden);
    Frame();
    EXPECT_EQ(At(11, 11), kPond);
    for (int i = 0; i < 6; ++i) Frame();
    EXPECT_EQ(At(11, 11), kPond) << "a hidden clip's frames stay off screen";
    clip->SetVisible(true);
    ASSERT_EQ(Pending().size(), 1u);
    EXPECT_EQ(Pending()[0].first, 0);
}

TEST_F(ClipTest, MovingTheClipMovesEveryFrameAndRedrawsBothPlaces) {
    OClip* clip = Attached(Frames({{}, {}}), 10, 10);
    Frame();
    clip->SetPosition(30.5f, 12, 0);
    for (OGraph* f : clip->Children()) {
        EXPECT_EQ(f->X(), 30.5f);
        EXPECT_EQ(f->Y(), 12);
    }
    Frame();
    EXPECT_EQ(At(11, 11), kPond);
    EXPECT_EQ(At(31, 13), ColourOf(kColours[0]));
    clip->Offset(0, 20, 0);
    Frame();
    EXPECT_EQ(At(31, 13), kPond);
    EXPECT_EQ(At(31, 33), ColourOf(kColours[0]));
    EXPECT_EQ(clip->Children()[1]->Y(), 32);
}

TEST_F(ClipTest, NestedClipFollowsItsParentAndStartsAgain) {
    auto* outer = new OClip();
    outer->SetPosition(100, 100, 0);
    auto* inner = new OClip();
    ASSERT_TRUE(inner->LoadFromBytes(Frames({{}, {}})));
    inner->SetPosition(5, 6, 0);
    outer->AddChild(inner);
    EXPECT_EQ(inner->Parent(), outer);
    EXPECT_EQ(inner->ShownIndex(), -1);
    EXPECT_EQ(inner->Children()[0]->X(), 105);
    EXPECT_EQ(inner->Children()[1]->Y(), 106);
    EXPECT_EQ(outer->FrameRate(), 10) << "a child clip's faster rate is taken over";
    EXPECT_EQ(outer->Width(), 9);
    outer->RemoveChild(inner);
    EXPECT_EQ(outer->FrameCount(), 0);
    EXPECT_EQ(inner->Parent(), nullptr);
    EXPECT_TRUE(IsLive(inner));
    inner->Destroy();
    outer->Destroy();
}

TEST_F(ClipTest, RemovedFrameLeavesTheSceneAndLivesOn) {
    OClip* clip = Attached(Frames({{}, {}}));
    Frame();
    OGraph* first = clip->Children()[0];
    clip->RemoveChild(first);
    EXPECT_EQ(clip->FrameCount(), 1);
    EXPECT_FALSE(first->IsVisible());
    EXPECT_EQ(first->Window(), nullptr);
    EXPECT_FALSE(w->Scene().InScene(first));
    first->Destroy();
}

TEST_F(ClipTest, TransparencyReachesEveryFrame) {
    OClip* clip = Attached(Frames({{}, {}}));
    clip->SetTransparency(200);
    for (OGraph* f : clip->Children()) EXPECT_EQ(f->Transparency(), 200u);
}

TEST(GeneratedClips, EveryGeneratedClipLoadsWithItsFrames) {
    const std::filesystem::path folder = std::filesystem::path(MARSHWADE_BINARY_DIR) / "CLP";
    ASSERT_TRUE(std::filesystem::exists(folder)) << "the build writes the game's clips";
    int clips = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".clp") continue;
        graphics::ClipFile parsed;
        std::string reason;
        ASSERT_TRUE(graphics::ReadClipFile(entry.path().string(), parsed, reason)) << reason;
        auto* clip = new OClip();
        EXPECT_TRUE(clip->Load(entry.path().string())) << entry.path();
        EXPECT_EQ(clip->FrameCount(), static_cast<int>(parsed.frames.size())) << entry.path();
        EXPECT_EQ(clip->FrameRate(), parsed.frameRate) << entry.path();
        EXPECT_GT(clip->FrameCount(), 0) << entry.path();
        clip->Destroy();
        ++clips;
    }
    EXPECT_EQ(clips, 71);
}

}  // namespace
