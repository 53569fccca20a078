// An opaque bitmap hides what lies behind it: the window neither clears nor draws anything under it,
// and the picture stays exactly what clearing and drawing everything gives.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "graphics/ArtDetail.h"
#include "graphics/OBitmap.h"
#include "tests/graphics/ClipsFixture.h"
#include "tests/support/ClipFileBuilder.h"
#include "tests/support/TestSprite.h"

namespace {

using namespace clips_test;
using testing_support::PictureRecordBytes;

constexpr uint32_t kKey = 0xFF00FF;

OBitmap* Bitmap(int w, int h, uint32_t key, std::function<uint32_t(int, int)> px) {
    auto* b = new OBitmap();
    EXPECT_TRUE(b->LoadFromStream(PictureRecordBytes(w, h, key, std::move(px))));
    return b;
}

// One scene, built the same way from the same seed in any window: a window-sized opaque background
// far behind, and sprites of every kind over it (key holes or none, opaque or see-through, some on
// fractional positions, some reaching out of the window).
// The picture of `pixel` (column, memory row) drawn twice as fine, with the key wherever `hole` says.
graphics::Picture Finer(int w, int h, const std::function<uint32_t(int, int)>& pixel,
                        const std::function<bool(int, int)>& hole) {
    graphics::Picture p;
    p.width = w * 2;
    p.height = h * 2;
    p.bitsPerPixel = 24;
    p.colourKey = kKey;
    p.stride = static_cast<uint32_t>(graphics::RowStride(static_cast<uint32_t>(p.width), 24));
    p.bits.assign(p.ImageSize() + graphics::Picture::kSpareBytes, 0);
    for (int r = 0; r < p.height; ++r) {
        for (int c = 0; c < p.width; ++c) {
            const uint32_t v = hole(c, r) ? kKey : pixel(c / 2, r / 2);
            uint8_t* q = p.bits.data() + static_cast<size_t>(r) * p.stride + static_cast<size_t>(c) * 3;
            q[0] = static_cast<uint8_t>(v);
            q[1] = static_cast<uint8_t>(v >> 8);
            q[2] = static_cast<uint8_t>(v >> 16);
        }
    }
    return p;
}

class Scene {
  public:
    // With `fine`, every bitmap also has art twice as fine, in which the sprites without holes of
    // their own have some, and the others have theirs filled in places.
    Scene(OWindow* window, uint32_t seed, bool fine = false) : rng_(seed) {
        const auto ground = [](int c, int r) { return 0x203040u + (c % 7) * 3 + r % 5; };
        auto* background = Bitmap(750, 550, kKey, ground);
        if (fine) background->AttachFine(Finer(750, 550, ground, [](int, int) { return false; }), kKey, 2);
        background->SetPosition(0, 0, 100);
        window->AddGraph(background);
        for (int i = 0; i < 40; ++i) {
            const int w = Below(120) + 1, h = Below(90) + 1, shape = Below(3);
            const uint32_t colour = 0x010101u * static_cast<uint32_t>(Below(200)) + static_cast<uint32_t>(i);
            const auto pixel = [=](int c, int r) {
                const bool hole =
                    (shape == 1 && (c * 7 + r * 3) % 11 == 0) ||
                    (shape == 2 && (c - w / 2) * (c - w / 2) + (r - h / 2) * (r - h / 2) > w * h / 5);
                return hole ? kKey : colour + static_cast<uint32_t>(c + r);
            };
            auto* s = Bitmap(w, h, kKey, pixel);
            if (fine) {
                const auto fineHole = [=](int c, int r) { return shape == 0 && (c * 3 + r) % 13 == 0; };
                const auto filled = [=](int c, int r) {
                    const uint32_t v = pixel(c, r);
                    return v == kKey && (c + r) % 2 == 0 ? colour : v;
                };
                EXPECT_TRUE(s->AttachFine(Finer(w, h, shape == 0 ? std::function<uint32_t(int, int)>(pixel) : filled, fineHole), kKey, 2));
            }
            static constexpr uint32_t kTransparency[] = {0, 0, 0, 128, 200, 256};
            s->SetTransparency(kTransparency[Below(6)]);
            s->SetPosition(static_cast<float>(Below(800) - 30) + (Below(2) ? 0.5f : 0.0f),
                           static_cast<float>(Below(600) - 30), static_cast<float>(Below(5) * 10));
            window->AddGraph(s);
            sprites.push_back(s);
        }
    }
    // Moves, hides, shows and fades some sprites, the same way in every copy of the scene.
    void Change() {
        for (OBitmap* s : sprites) {
            switch (Below(6)) {
                case 0:
                    s->MoveBy(static_cast<float>(Below(41) - 20), static_cast<float>(Below(41) - 20), 0);
                    break;
                case 1:
                    s->SetVisible(!s->IsVisible());
                    break;
                case 2:
                    s->SetTransparency(Below(2) ? 0 : 128);
                    break;
                default:
                    break;
            }
        }
    }
    std::vector<OBitmap*> sprites;

  private:
    int Below(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
    std::mt19937 rng_;
};

class OpaqueCover : public ClipsWindowTest {};

bool SamePicture(const OWindow* a, const OWindow* b) {
    const OffscreenPicture* pa = a->GetPicture();
    const OffscreenPicture* pb = b->GetPicture();
    return std::memcmp(pa->Bits(), pb->Bits(), static_cast<size_t>(pa->Stride()) * pa->Height()) == 0;
}

TEST_F(OpaqueCover, ComposingGivesTheSamePixelsAsClearingAndDrawingEverything) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        TestWindow* fast = Make();
        TestWindow* plain = Make();
        plain->Scene().SetSkipHidden(false);
        Scene a(fast, seed), b(plain, seed);
        for (int frame = 0; frame < 25; ++frame) {
            fast->Compose();
            plain->Compose();
            ASSERT_TRUE(SamePicture(fast, plain)) << "seed " << seed << ", frame " << frame;
            a.Change();
            b.Change();
        }
        // And the whole window drawn again.
        fast->AddDirtyRect({0, 0, 750, 550});
        plain->AddDirtyRect({0, 0, 750, 550});
        fast->Compose();
        plain->Compose();
        ASSERT_TRUE(SamePicture(fast, plain)) << "seed " << seed;
        Close(fast);
        Close(plain);
    }
}

// The windows made while it lives compose at twice the detail.
struct DetailTwo {
    DetailTwo() { graphics::SetArtDetail(2); }
    ~DetailTwo() { graphics::SetArtDetail(1); }
};

// Every logical pixel of the window drawn as the 2 x 2 square of the finer picture.
bool SameEnlarged(const OWindow* logical, const OWindow* finer) {
    const OffscreenPicture* a = logical->GetPicture();
    const OffscreenPicture* b = finer->GetPicture();
    for (int y = 0; y < 1100; ++y) {
        const uint8_t* from = a->Row(y / 2);
        const uint8_t* to = b->Row(y);
        for (int x = 0; x < 1500; ++x) {
            if (std::memcmp(from + (x / 2) * 3, to + x * 3, 3) != 0) return false;
        }
    }
    return true;
}

TEST_F(OpaqueCover, AtADetailBitmapsWithoutFineArtAreDrawnAsTheLogicalPictureEnlarged) {
    TestWindow* logical = Make();
    TestWindow* finer = nullptr;
    {
        DetailTwo two;
        finer = Make();
    }
    ASSERT_EQ(finer->GetPicture()->Width(), 1500);
    Scene a(logical, 4), b(finer, 4);
    for (int frame = 0; frame < 10; ++frame) {
        logical->Compose();
        finer->Compose();
        ASSERT_TRUE(SameEnlarged(logical, finer)) << "frame " << frame;
        a.Change();
        b.Change();
    }
}

// Where the fine art has key pixels the logical picture has not, what lies behind shows through
// them; where it is filled, it hides more: composing must follow the fine pictures.
TEST_F(OpaqueCover, AtADetailTheFineArtsOwnKeyPixelsDecideWhatIsHidden) {
    DetailTwo two;
    for (uint32_t seed : {5u, 6u}) {
        TestWindow* fast = Make();
        TestWindow* plain = Make();
        plain->Scene().SetSkipHidden(false);
        Scene a(fast, seed, true), b(plain, seed, true);
        for (int frame = 0; frame < 15; ++frame) {
            fast->Compose();
            plain->Compose();
            ASSERT_TRUE(SamePicture(fast, plain)) << "seed " << seed << ", frame " << frame;
            a.Change();
            b.Change();
        }
        Close(fast);
        Close(plain);
    }
}

TEST_F(OpaqueCover, NothingBehindAnOpaqueBitmapIsDrawnWhereItCoversTheArea) {
    auto* behind = new TestSprite(40, 40, 1, 2, 3);
    behind->SetPosition(100, 100, 50);
    w->AddGraph(behind);
    auto* cover = Bitmap(200, 200, kKey, [](int, int) { return 0x102030u; });
    cover->SetPosition(50, 50, 10);
    w->AddGraph(cover);
    auto* front = new TestSprite(10, 10, 4, 5, 6);
    front->SetPosition(60, 60, 0);
    w->AddGraph(front);
    Frame();
    behind->drawn.clear();
    front->drawn.clear();

    w->AddDirtyRect({90, 90, 150, 150});  // inside the cover: only the cover and what is in front
    Frame();
    EXPECT_TRUE(behind->drawn.empty());
    EXPECT_EQ(front->drawn.size(), 0u);  // the front sprite is elsewhere
    w->AddDirtyRect({55, 55, 150, 150});
    Frame();
    EXPECT_TRUE(behind->drawn.empty());
    EXPECT_EQ(front->drawn.size(), 1u);
    w->AddDirtyRect({40, 90, 150, 150});  // reaches out of the cover: everything is drawn
    Frame();
    EXPECT_EQ(behind->drawn.size(), 1u);
}

// An 8 x 6 bitmap at (100, 50) whose pixel at column 5 of window row 2 is the key.
TEST_F(OpaqueCover, ABitmapHidesAnAreaOnlyWhereItDrawsEveryPixelOpaque) {
    struct Case {
        const char* what;
        ORect area;
        uint32_t transparency = 0;
        uint32_t key = kKey;
        float x = 100;
        bool visible = true;
        bool attached = true;
        bool hides;
    };
    const Case cases[] = {
        {"the whole bitmap but the key's row", {100, 53, 108, 56}, 0, kKey, 100, true, true, true},
        {"left of the key pixel", {100, 50, 105, 56}, 0, kKey, 100, true, true, true},
        {"right of the key pixel", {106, 50, 108, 56}, 0, kKey, 100, true, true, true},
        {"over the key pixel", {104, 51, 107, 53}, 0, kKey, 100, true, true, false},
        {"the key never matches", {100, 50, 108, 56}, 0, 0x01000000, 100, true, true, true},
        {"seen through", {100, 53, 108, 56}, 128, kKey, 100, true, true, false},
        {"transparency 256 draws opaque", {100, 53, 108, 56}, 256, kKey, 100, true, true, true},
        {"hidden", {100, 53, 108, 56}, 0, kKey, 100, false, true, false},
        {"not in a window", {100, 53, 108, 56}, 0, kKey, 100, true, false, false},
        {"reaching out of the bitmap", {99, 53, 108, 56}, 0, kKey, 100, true, true, false},
        {"an empty area", {104, 53, 104, 56}, 0, kKey, 100, true, true, false},
        // At x 100.5 Draw takes the area's columns from (left - 100.5) truncated on: the area right of
        // the key at x 100 now starts with the key's column.
        {"half a pixel right, left of the key", {100, 50, 105, 56}, 0, kKey, 100.5f, true, true, true},
        {"half a pixel right, right of the key", {106, 50, 108, 56}, 0, kKey, 100.5f, true, true, false},
    };
    for (const Case& c : cases) {
        OBitmap* b =
            Bitmap(8, 6, c.key, [](int col, int row) { return col == 5 && row == 3 ? kKey : 0x405060u; });
        b->SetPosition(c.x, 50, 0);
        b->SetTransparency(c.transparency);
        b->SetVisible(c.visible);
        if (c.attached) w->AddGraph(b);
        EXPECT_EQ(b->IsOpaqueOver(c.area, 1), c.hides) << c.what;
        b->Destroy();
    }
}

}  // namespace
