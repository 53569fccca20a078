// Art drawn for large screens: which files a clip reads beside the game's own, what a window at a
// detail draws from, and what it does when that art is missing, broken or the wrong size.
#include <gtest/gtest.h>

#include "graphics/ArtDetail.h"
#include "graphics/FontRecord.h"
#include "graphics/OBitmap.h"
#include "graphics/OClip.h"
#include "platform/ProgramPath.h"
#include "tests/graphics/ClipsFixture.h"
#include "tests/support/ClipFileBuilder.h"

namespace {

using namespace clips_test;
using testing_support::ClipFileBuilder;
using testing_support::PictureRecordBytes;

constexpr uint32_t kKey = 0xFF00FF;

// The windows made and the pictures loaded while it lives compose at `detail`.
struct DetailScope {
    explicit DetailScope(int32_t detail) { graphics::SetArtDetail(detail); }
    ~DetailScope() { graphics::SetArtDetail(1); }
};

// A clip of one frame per picture, each `size` x `size` of `colour` with the key at its top-left pixel.
std::vector<uint8_t> Clip(const std::vector<int>& sizes, uint32_t colour) {
    ClipFileBuilder b;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const int n = sizes[i];
        b.Picture(PictureRecordBytes(n, n, kKey, [=](int c, int r) { return c == 0 && r == n - 1 ? kKey : colour; }));
        b.Frame({0, 0, 0, static_cast<int16_t>(i), {}});
    }
    return b.Build();
}

class FineArtTest : public ClipsWindowTest {
  protected:
    void SetUp() override {
        ClipsWindowTest::SetUp();
        saved_ = platform::ProgramDirectory();
        platform::SetProgramDirectoryForTesting(folder_.Path().string() + "/");
        WriteFile(folder_.Path() / "CLP" / "leaf.clp", Clip({4, 4}, 0x00A000));
    }
    void TearDown() override {
        platform::SetProgramDirectoryForTesting(saved_);
        ClipsWindowTest::TearDown();
    }
    void WriteFine(const std::vector<uint8_t>& bytes) { WriteFile(folder_.Path() / "CLP@2x" / "leaf.clp", bytes); }
    // For each frame of the clip loaded at `detail`: the width of its fine picture, 0 without one.
    std::vector<int> FineWidths(int32_t detail) {
        DetailScope scope(detail);
        auto* clip = new OClip();
        EXPECT_TRUE(clip->Load("CLP\\leaf.clp"));
        std::vector<int> widths;
        for (OGraph* frame : clip->Children()) {
            PixelSource px;
            widths.push_back(frame->GetFinePixels(2, px) ? px.width : 0);
        }
        clip->Destroy();
        return widths;
    }

    TempFolder folder_;
    std::string saved_;
};

TEST_F(FineArtTest, AClipTakesTheArtOfTheDetailWhereItMatchesAndLoadsWithoutItOtherwise) {
    const struct {
        const char* what;
        std::vector<uint8_t> fine;  // empty: no file
        int32_t detail;
        std::vector<int> want;
    } cases[] = {
        {"twice the size, both pictures", Clip({8, 8}, 0x00F000), 2, {8, 8}},
        {"not asked for at detail 1", Clip({8, 8}, 0x00F000), 1, {0, 0}},
        {"none installed", {}, 2, {0, 0}},
        {"a file that is no clip", std::vector<uint8_t>(64, 0x5A), 2, {0, 0}},
        {"one picture too few", Clip({8}, 0x00F000), 2, {0, 0}},
        {"the second picture a pixel too large", Clip({8, 9}, 0x00F000), 2, {8, 0}},
        {"three times the size is not twice", Clip({12, 12}, 0x00F000), 2, {0, 0}},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(folder_.Path() / "CLP@2x");
        if (!c.fine.empty()) WriteFine(c.fine);
        EXPECT_EQ(FineWidths(c.detail), c.want) << c.what;
    }
}

// The fine frame is drawn where the logical one would be, from its own pixels and its own key; a
// bitmap without fine art beside it is the logical picture enlarged, key pixels left out the same way.
TEST_F(FineArtTest, AWindowAtADetailDrawsTheFineArtAndEnlargesTheRest) {
    WriteFine(Clip({8, 8}, 0x00F000));
    DetailScope scope(2);
    TestWindow* fine = Make();
    fine->Start();
    auto* clip = new OClip();
    ASSERT_TRUE(clip->Load("CLP\\leaf.clp"));
    clip->SetPosition(10, 10, 0);
    fine->AddGraph(clip);
    auto* plain = new OBitmap();
    ASSERT_TRUE(plain->LoadFromStream(PictureRecordBytes(3, 3, kKey, [](int c, int) { return c == 1 ? kKey : 0x0000C0u; })));
    plain->SetPosition(30, 10, 0);
    fine->AddGraph(plain);
    fine->Compose();
    ASSERT_EQ(fine->GetPicture()->Width(), 1500);
    const Colour pond = PixelAt(fine, 0, 0), leaf{0x00, 0xF0, 0x00}, red{0xC0, 0x00, 0x00};
    EXPECT_EQ(PixelAt(fine, 20, 20), pond) << "the fine picture's key pixel, its top-left one";
    EXPECT_EQ(PixelAt(fine, 21, 20), leaf);
    EXPECT_EQ(PixelAt(fine, 27, 27), leaf) << "the fine picture reaches 8 pixels";
    EXPECT_EQ(PixelAt(fine, 28, 28), pond);
    for (int x : {60, 61, 64, 65}) EXPECT_EQ(PixelAt(fine, x, 21), red) << x;
    for (int x : {62, 63}) EXPECT_EQ(PixelAt(fine, x, 21), pond) << x << ": the enlarged key column";
    EXPECT_EQ(PixelAt(fine, 66, 21), pond);
}

// Text at a detail is set as a font that many times the size would be at that many times the place,
// its selection and its clip included: the same pixels as the logical window drawing the larger font.
TEST_F(FineArtTest, TextAtADetailIsSetInAFontThatManyTimesTheSize) {
    TestWindow* fine = nullptr;
    {
        DetailScope scope(2);
        fine = Make();
    }
    graphics::FontRecord small, large;
    small.height = 16;
    large.height = 32;
    const struct {
        ORect clip;  // logical
        int selectFrom, selectTo;
    } cases[] = {{{0, 0, 750, 550}, 0, 0}, {{0, 0, 750, 550}, 1, 3}, {{12, 22, 30, 31}, 0, 5}};
    for (const auto& c : cases) {
        fine->FillBackground({0, 0, 750, 550});
        w->FillBackground({0, 0, 1024, 768});
        fine->DrawText("Marsh", small, 10, 20, c.clip, c.selectFrom, c.selectTo);
        w->DrawText("Marsh", large, 20, 40, platform::Finer(c.clip, 2), c.selectFrom, c.selectTo);
        int differ = 0, drawn = 0;
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 400; ++x) {
                differ += PixelAt(fine, x, y) != PixelAt(w, x, y);
                drawn += PixelAt(w, x, y) != PixelAt(w, 0, 0);
            }
        EXPECT_GT(drawn, 50) << c.selectFrom << ".." << c.selectTo;
        EXPECT_EQ(differ, 0) << c.selectFrom << ".." << c.selectTo;
    }
}

// The pictures beside the game's own folder, and no others.
TEST(FineArtNames, OnlyTheGamesPictureFolderHasFineArt) {
    const struct {
        const char* name;
        int32_t detail;
        const char* want;
    } cases[] = {
        {"CLP\\frog0.clp", 2, "CLP@2x\\frog0.clp"}, {"\\CLP\\all.bmp", 3, "\\CLP@3x\\all.bmp"},
        {"CLP/skin.bmp", 2, "CLP@2x/skin.bmp"},     {"CLP\\frog0.clp", 1, ""},
        {"WAV\\bell.wav", 2, ""},                    {"CLPX\\frog0.clp", 2, ""},
        {"CLP", 2, ""},                              {"/usr/share/CLP/frog0.clp", 2, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(graphics::FineArtName(c.name, c.detail), c.want) << c.name;
}

// The game's own generated background, drawn again at twice its size, is found and taken.
TEST(GeneratedFineArt, TheBackgroundHasItsPictureAtTwiceTheSize) {
    const std::string saved = platform::ProgramDirectory();
    platform::SetProgramDirectoryForTesting(std::string(MARSHWADE_BINARY_DIR) + "/");
    {
        DetailScope scope(2);
        auto* background = new OBitmap();
        ASSERT_TRUE(background->Load("CLP\\all.bmp"));
        PixelSource px;
        ASSERT_TRUE(background->GetFinePixels(2, px));
        EXPECT_EQ(px.width, 1500);
        EXPECT_EQ(px.height, 1100);
        EXPECT_FALSE(background->GetFinePixels(3, px));
        background->Destroy();
    }
    platform::SetProgramDirectoryForTesting(saved);
}

}  // namespace
