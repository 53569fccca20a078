#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "graphics/LiveSet.h"
#include "graphics/OBitmap.h"
#include "platform/ProgramPath.h"
#include "tests/graphics/ClipsFixture.h"
#include "tests/support/ClipFileBuilder.h"

namespace {

using namespace clips_test;
using testing_support::PictureRecordBytes;

// A record whose pixel (column, memory row) is a colour that tells where it came from.
std::vector<uint8_t> Record(int w, int h, uint32_t key, std::function<uint32_t(int, int)> px = nullptr) {
    if (!px) px = [](int c, int r) { return static_cast<uint32_t>(0x100000 * (r + 1) + 0x10 * (c + 1)); };
    return PictureRecordBytes(w, h, key, std::move(px));
}

Colour ColourOf(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16)};
}

OBitmap* LoadedBitmap(int w, int h, uint32_t key = 0x01010101,
                      std::function<uint32_t(int, int)> px = nullptr) {
    auto* b = new OBitmap();
    EXPECT_TRUE(b->LoadFromStream(Record(w, h, key, std::move(px))));
    return b;
}

class BitmapTest : public ClipsWindowTest {};

TEST_F(BitmapTest, PictureRecordGivesSizeKeyMaskAndDrawsBottomUpRowsInPlace) {
    OBitmap* b = LoadedBitmap(5, 3, 0x300010);  // memory row 2, column 0 has the key
    EXPECT_EQ(b->Width(), 5);
    EXPECT_EQ(b->Height(), 3);
    EXPECT_EQ(b->NaturalWidth(), 5);
    EXPECT_EQ(b->NaturalHeight(), 3);
    EXPECT_EQ(b->ColourKey(), 0x300010u);
    EXPECT_EQ(b->PictureReady(), 1);
    EXPECT_EQ(b->Stride(), 16);
    b->SetPosition(10, 20, 0);
    w->AddGraph(b);
    Frame();
    // Memory row r is window row 2 - r (positive height: bottom-up).
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const int memRow = 2 - y;
            const Colour expected =
                (memRow == 2 && x == 0) ? kPond : ColourOf(0x100000u * (memRow + 1) + 0x10u * (x + 1));
            EXPECT_EQ(At(10 + x, 20 + y), expected) << x << "," << y;
        }
    EXPECT_EQ(At(9, 20), kPond);
    EXPECT_EQ(At(15, 22), kPond);
}

TEST_F(BitmapTest, TopDownRecordKeepsItsRowOrder) {
    auto* b = new OBitmap();
    ASSERT_TRUE(b->LoadFromStream(Record(2, -2, 0x01000000)));
    EXPECT_EQ(b->Height(), 2);
    w->AddGraph(b);
    Frame();
    EXPECT_EQ(At(0, 0), ColourOf(0x100010));
    EXPECT_EQ(At(1, 1), ColourOf(0x200020));
}

TEST_F(BitmapTest, MagentaFirstPixelOfABitmapFileDrawsEveryMagentaPixelTransparent) {
    TempFolder folder;
    auto magentaBorder = [](int x, int y) {
        return (x == 0 || y == 3 || (x == 4 && y == 1)) ? kMagenta : Colour{10, 20, 30};
    };
    WriteFile(folder.Path() / "sheet.bmp", BmpBytes(7, 4, magentaBorder));
    auto* b = new OBitmap();
    ASSERT_TRUE(b->Load((folder.Path() / "sheet.bmp").string()));
    EXPECT_EQ(b->ColourKey(), 0xFF00FFu);
    w->AddGraph(b);
    Frame();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(At(x, y), magentaBorder(x, y) == kMagenta ? kPond : Colour({10, 20, 30}))
                << x << "," << y;
}

TEST_F(BitmapTest, TopDownBitmapFileTakesItsKeyFromTheTopLeftPixelStoredFirst) {
    TempFolder folder;
    WriteFile(folder.Path() / "top.bmp", BmpBytes(
                                             3, 2,
                                             [](int x, int y) {
                                                 return x == 0 && y == 0 ? Colour{1, 2, 3} : Colour{9, 9, 9};
                                             },
                                             true));
    auto* b = new OBitmap();
    ASSERT_TRUE(b->Load((folder.Path() / "top.bmp").string()));
    EXPECT_EQ(b->ColourKey(), 0x030201u);
    b->Destroy();
}

TEST_F(BitmapTest, RelativeBitmapNameIsFoundBesideTheProgram) {
    TempFolder program, elsewhere;
    WriteFile(program.Path() / "CLP" / "all.bmp", BmpBytes(2, 2, [](int, int) { return Colour{5, 6, 7}; }));
    const std::string saved = platform::ProgramDirectory();
    platform::SetProgramDirectoryForTesting(program.Path().string());
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.Path());
    auto* b = new OBitmap();
    EXPECT_TRUE(b->Load("CLP\\all.bmp"));
    EXPECT_FALSE(b->Load("CLP\\none.bmp"));
    std::filesystem::current_path(cwd);
    platform::SetProgramDirectoryForTesting(saved);
    b->Destroy();
}

TEST_F(BitmapTest, CloneSharesPixelsAndOutlivesItsTemplateWhichIsFreedExactlyOnce) {
    const int buffersBefore = OBitmap::LivePixelBuffers();
    OBitmap* t = LoadedBitmap(4, 4, 0x01000000, [](int, int) { return 0x3366CCu; });
    auto* copy = static_cast<OBitmap*>(t->Clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetPicture(), t->GetPicture()) << "the pixels are shared, not copied";
    EXPECT_EQ(t->CopyCount(), 1);
    EXPECT_EQ(copy->Template(), t);
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore + 1);

    t->Destroy();
    ASSERT_TRUE(IsLive(t)) << "a template with a live copy is not deleted";
    copy->SetPosition(30, 40, 0);
    w->AddGraph(copy);
    Frame();
    EXPECT_EQ(At(30, 40), ColourOf(0x3366CC));
    EXPECT_EQ(At(33, 43), ColourOf(0x3366CC));

    copy->Destroy();
    EXPECT_FALSE(IsLive(copy));
    EXPECT_FALSE(IsLive(t)) << "the last copy takes its template along";
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore);
    Frame();
    EXPECT_EQ(At(30, 40), kPond);
}

TEST_F(BitmapTest, CloneOfAKeptTemplateLeavesTheTemplateAndItsPixels) {
    const int buffersBefore = OBitmap::LivePixelBuffers();
    OBitmap* t = LoadedBitmap(2, 2);
    t->SetKeep(true);
    auto* a = static_cast<OBitmap*>(t->Clone());
    auto* b = static_cast<OBitmap*>(a->Clone());
    EXPECT_EQ(b->Template(), t) << "a copy of a copy shares the first template";
    EXPECT_EQ(t->CopyCount(), 2);
    a->Destroy();
    b->Destroy();
    EXPECT_TRUE(IsLive(t));
    EXPECT_EQ(t->CopyCount(), 0);
    EXPECT_TRUE(t->HasPixels());
    t->SetKeep(false);
    t->Destroy();
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore);
}

TEST_F(BitmapTest, TemplateWithLiveCopiesRefusesNewPixelsAndKeepsItsOwn) {
    OBitmap* t = LoadedBitmap(3, 3, 0x01000000, [](int, int) { return 0x102030u; });
    OGraph* copy = t->Clone();
    const graphics::Picture* before = t->GetPicture();
    EXPECT_FALSE(t->LoadFromStream(Record(2, 2, 0)));
    EXPECT_FALSE(t->Load("/nonexistent.bmp"));
    EXPECT_FALSE(t->CreateBlank(5, 5));
    t->BuildMask(0x102030);
    t->KeyFromFirstPixel();
    t->Reset();
    EXPECT_EQ(t->GetPicture(), before);
    EXPECT_EQ(t->Width(), 3);
    EXPECT_EQ(t->ColourKey(), 0x01000000u);
    EXPECT_EQ(t->Mask()[0], 0) << "the mask was not rebuilt for another key";
    copy->Destroy();
}

TEST_F(BitmapTest, MovingByLessThanAPixelReportsNothingAndByOnePixelBothBounds) {
    OBitmap* b = LoadedBitmap(4, 3);
    b->SetPosition(10.2f, 10.0f, 0);
    w->AddGraph(b);
    Frame();
    b->SetPosition(10.9f, 10.5f, 0.4f);
    EXPECT_TRUE(Pending().empty());
    b->SetPosition(11.9f, 10.5f, 0.4f);
    const std::vector<std::pair<int, ORect>> expected{{1, {10, 10, 14, 13}}, {0, {11, 10, 15, 13}}};
    EXPECT_EQ(Pending(), expected);
    Frame();
    b->Offset(0.05f, 0, 0);
    EXPECT_TRUE(Pending().empty());
    b->Offset(0, 1, 0);
    const std::vector<std::pair<int, ORect>> offset{{1, {11, 10, 15, 13}}, {0, {11, 11, 15, 14}}};
    EXPECT_EQ(Pending(), offset);
}

TEST_F(BitmapTest, VisibilityTransparencySizeAndRestoreReportTheirAreas) {
    OBitmap* b = LoadedBitmap(4, 3);
    b->SetPosition(5, 5, 0);
    w->AddGraph(b);
    Frame();
    b->SetVisible(true);
    EXPECT_TRUE(Pending().empty()) << "no change, no report";
    b->SetVisible(false);
    EXPECT_EQ(Pending(), (std::vector<std::pair<int, ORect>>{{1, {5, 5, 9, 8}}}));
    b->SetTransparency(100);
    EXPECT_EQ(Pending().size(), 1u) << "an invisible bitmap reports no transparency change";
    b->SetVisible(true);
    Frame();
    b->SetTransparency(128);
    EXPECT_EQ(Pending(), (std::vector<std::pair<int, ORect>>{{0, {5, 5, 9, 8}}}));
    Frame();
    b->SetSize(2, 2, 0);
    EXPECT_EQ(Pending(), (std::vector<std::pair<int, ORect>>{{1, {5, 5, 9, 8}}, {0, {5, 5, 7, 7}}}));
    Frame();
    b->SetPosition(20, 20, 0);
    Frame();
    b->RestoreState();
    EXPECT_EQ(Pending(), (std::vector<std::pair<int, ORect>>{{1, {20, 20, 22, 22}}, {0, {5, 5, 7, 7}}}));
}

TEST_F(BitmapTest, TransparencyMixesWhatLiesBelow) {
    auto* black = new OBitmap();
    ASSERT_TRUE(black->CreateBlank(4, 4));
    black->SetColourKey(0x01000000);  // a blank picture's key 0 would make every black pixel clear
    auto* white = LoadedBitmap(4, 4, 0x01000000, [](int, int) { return 0xFFFFFFu; });
    white->SetTransparency(128);
    white->SetPosition(0, 0, -1);
    w->AddGraph(black);
    w->AddGraph(white);
    Frame();
    EXPECT_EQ(At(2, 2), (Colour{127, 127, 127}));
}

TEST_F(BitmapTest, DrawingAnAreaTouchesOnlyThatArea) {
    OBitmap* b = LoadedBitmap(6, 6, 0x01000000, [](int, int) { return 0x00FF00u; });
    b->SetPosition(0.5f, 0.5f, 0);
    w->AddGraph(b);
    Frame();
    w->FillBackground({0, 0, 20, 20});
    const ORect area{2, 3, 4, 5};
    b->Draw(&area);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 4 && y >= 3 && y < 5;
            EXPECT_EQ(At(x, y), inside ? Colour({0, 0xFF, 0}) : kPond) << x << "," << y;
        }
}

TEST_F(BitmapTest, BadRecordsAndStreamsFailCleanlyAndLeaveTheBitmapEmpty) {
    const int buffersBefore = OBitmap::LivePixelBuffers();
    auto* b = new OBitmap();
    ASSERT_TRUE(b->LoadFromStream(Record(3, 3, 0)));
    auto good = Record(3, 3, 0);

    EXPECT_FALSE(b->LoadFromStream(std::span<const uint8_t>(good.data(), 16))) << "header only";
    EXPECT_FALSE(b->HasPixels());
    EXPECT_EQ(b->Width(), 0);
    auto cut = good;
    cut.pop_back();
    EXPECT_FALSE(b->LoadFromStream(cut)) << "a row short";
    auto huge = good;
    testing_support::PutAt(huge, 0, int32_t{0x7FFFFFFF});
    EXPECT_FALSE(b->LoadFromStream(huge));

    std::istringstream shortStream(std::string(good.begin(), good.end()));
    EXPECT_FALSE(b->LoadFromStream(shortStream, 0xFFFFFFFFu)) << "a count the stream does not hold";
    std::istringstream tooShort(std::string(good.begin(), good.begin() + 40));
    EXPECT_FALSE(b->LoadFromStream(tooShort, static_cast<uint32_t>(good.size())));
    std::istringstream whole(std::string(good.begin(), good.end()));
    EXPECT_TRUE(b->LoadFromStream(whole, static_cast<uint32_t>(good.size())));
    EXPECT_EQ(b->Width(), 3);

    EXPECT_FALSE(b->Load("x")) << "a name shorter than 2 characters";
    EXPECT_FALSE(b->Load("/nonexistent/all.bmp"));
    EXPECT_FALSE(b->HasPixels());
    b->Destroy();
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore);
}

TEST_F(BitmapTest, PicturesOfADepthTheBlenderCannotDrawLoadButDrawNothing) {
    auto* b = new OBitmap();
    ASSERT_TRUE(b->LoadFromStream(PictureRecordBytes(
        4, 4, 0x01000000, [](int, int) { return 0x1234u; }, 5, 6, 5)));
    EXPECT_EQ(b->Width(), 4);
    w->AddGraph(b);
    Frame();
    EXPECT_EQ(At(0, 0), kPond);
    EXPECT_EQ(At(3, 3), kPond);
}

TEST_F(BitmapTest, BlankPictureIsBlackWithKeyZeroAndResetEmptiesIt) {
    auto* b = new OBitmap();
    ASSERT_TRUE(b->CreateBlank(3.7f, 2.2f));
    EXPECT_EQ(b->Width(), 3);
    EXPECT_EQ(b->Height(), 2);
    EXPECT_EQ(b->ColourKey(), 0u);
    const graphics::Picture* p = b->GetPicture();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->BottomUp());
    EXPECT_EQ(p->bitsPerPixel, 24u);
    for (size_t i = 0; i < p->ImageSize(); ++i) ASSERT_EQ(p->bits[i], 0);
    EXPECT_FALSE(b->CreateBlank(-1, 2));
    b->Reset();
    EXPECT_FALSE(b->HasPixels());
    EXPECT_EQ(b->Width(), 0);
    EXPECT_TRUE(b->IsVisible()) << "reset keeps the visibility; it covers nothing now";
    b->Destroy();
}

}  // namespace
