#include <gtest/gtest.h>

#include <climits>

#include "graphics/LiveSet.h"
#include "tests/support/HeadlessWindowTest.h"
#include "tests/support/TestControl.h"
#include "tests/support/TestSprite.h"

namespace {

using Rects = std::vector<ORect>;
using Colour = std::array<uint8_t, 3>;
constexpr Colour kPond{0xD0, 0xA7, 0x43};

class SceneTest : public HeadlessWindowTest {
  protected:
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        w = Make();
        w->Start();
        Frame();  // whatever construction left behind
        NativeOf(w)->ClearPresents();
    }
    // One frame step at the next 20 ms, then the main thread shows what was composed.
    void Frame() {
        now += 20;
        os.Manual().Set(now);
        w->RunFrame();
        os.Pump();
    }
    TestSprite* Sprite(int x, int y, int width, int height, Colour c, float depth = 0) {
        auto* s = new TestSprite(width, height, c[0], c[1], c[2]);
        s->SetPosition(static_cast<float>(x), static_cast<float>(y), depth);
        return s;
    }

    TestWindow* w = nullptr;
    uint32_t now = 1000;
};

TEST_F(SceneTest, OrderIndexesStayContiguousAfterRemovingFromTheMiddle) {
    std::vector<OGraph*> g, c;
    for (int i = 0; i < 3; ++i) {
        g.push_back(Sprite(0, 0, 1, 1, kPond));
        c.push_back(new TestControl(0, 0, 1, 1, false));
        w->AddGraph(g.back());
        w->AddGraph(c.back());
    }
    EXPECT_EQ(g[0]->OrderIndex(), 1);
    EXPECT_EQ(c[0]->OrderIndex(), 10001);
    w->RemoveGraph(g[1]);
    c[1]->Destroy();
    EXPECT_EQ(g[0]->OrderIndex(), 1);
    EXPECT_EQ(g[2]->OrderIndex(), 2);
    EXPECT_EQ(c[0]->OrderIndex(), 10001);
    EXPECT_EQ(c[2]->OrderIndex(), 10002);
    EXPECT_EQ(w->Graphics().size(), 2u);
    EXPECT_EQ(w->Controls().size(), 2u);
    g[1]->Destroy();
}

TEST_F(SceneTest, AddingADeadPointerDoesNothingAndLeavesTheFrameRate) {
    auto* dead = Sprite(0, 0, 1, 1, kPond);
    dead->Destroy();
    w->AddGraph(dead);
    w->AddGraph(nullptr);
    EXPECT_TRUE(w->Graphics().empty());
    EXPECT_EQ(w->FrameRate(), 50);
}

TEST_F(SceneTest, ClipsAndControlsRaiseTheFrameRateButNeverLowerIt) {
    auto* slow = new TestGroup;
    slow->rate = 10;
    auto* fast = new TestControl(0, 0, 1, 1, false);
    fast->rate = 70;
    w->AddGraph(slow);
    EXPECT_EQ(w->FrameRate(), 50);
    w->AddGraph(fast);
    EXPECT_EQ(w->FrameRate(), 70);
}

TEST_F(SceneTest, ShownAndHiddenWithinOneFrameDrawsNothing) {
    auto* s = Sprite(10, 10, 5, 5, {0, 0, 255});
    w->AddGraph(s);
    s->SetVisible(false);
    Frame();
    EXPECT_TRUE(s->drawn.empty());
    EXPECT_TRUE(NativeOf(w)->Presents().empty());
    EXPECT_EQ(PixelAt(w, 12, 12), kPond);
}

TEST_F(SceneTest, MovingDirtiesExactlyTheOldAndNewBounds) {
    auto* s = Sprite(0, 0, 10, 10, {0, 0, 255});
    w->AddGraph(s);
    Frame();
    NativeOf(w)->ClearPresents();
    s->SetPosition(30, 5, 0);
    Frame();
    Rects expected{{0, 0, 10, 10}, {30, 5, 40, 15}};
    EXPECT_EQ(w->LastDrawn(), expected);
    auto presents = NativeOf(w)->Presents();
    ASSERT_EQ(presents.size(), 1u);
    EXPECT_EQ(presents[0], expected);
    EXPECT_EQ(PixelAt(w, 5, 5), kPond);
    EXPECT_EQ(PixelAt(w, 35, 10), (Colour{0, 0, 255}));
}

// A drowned frog fades (its transparency changes) and is then taken away within the same frame:
// what was on screen must go, and the scene must forget it.
TEST_F(SceneTest, OnScreenDrawableFadedThenHiddenInOneFrameIsCleared) {
    auto* s = Sprite(10, 10, 10, 10, {0, 0, 255});
    w->AddGraph(s);
    Frame();
    s->SetTransparency(100);
    s->SetVisible(false);
    Frame();
    EXPECT_FALSE(w->Scene().InScene(s));
    EXPECT_EQ(w->LastDrawn(), (Rects{{10, 10, 20, 20}}));
    EXPECT_EQ(PixelAt(w, 15, 15), kPond);
}

// The other half of the fading: faded, then moved away within the same frame. The whole picture
// must show at the new place and nothing of it at the old.
TEST_F(SceneTest, OnScreenDrawableFadedThenMovedInOneFrameIsDrawnWholeAtItsNewPlace) {
    auto* s = Sprite(0, 0, 10, 10, {0, 0, 255});
    w->AddGraph(s);
    Frame();
    s->SetTransparency(128);
    s->SetPosition(5, 0, 0);  // overlaps the old area by half
    Frame();
    EXPECT_EQ(w->LastDrawn(), (Rects{{0, 0, 10, 10}, {10, 0, 15, 10}}));
    EXPECT_EQ(PixelAt(w, 2, 5), kPond) << "the old picture is gone";
    const Colour faded{104, 83, 161};  // red at 128 over the pond: s + 128 * (d - s) / 256 per channel
    EXPECT_EQ(PixelAt(w, 7, 5), faded);
    EXPECT_EQ(PixelAt(w, 12, 5), faded) << "drawn beyond the old area too";
    s->SetPosition(40, 0, 0);
    Frame();
    EXPECT_EQ(PixelAt(w, 12, 5), kPond) << "the scene entry followed the drawable";
    EXPECT_EQ(PixelAt(w, 45, 5), faded);
}

TEST_F(SceneTest, SubPixelMovesReportNothingUntilTheTruncatedBoundsChange) {
    auto* s = Sprite(0, 0, 10, 10, kPond);
    s->SetPosition(0.2f, 0, 0);
    w->AddGraph(s);
    Frame();
    s->MoveBy(0.3f, 0.5f, 0);
    EXPECT_TRUE(w->Scene().Pending().empty());
    EXPECT_FLOAT_EQ(s->X(), 0.5f);
    s->MoveBy(0.6f, 0, 0);
    EXPECT_EQ(w->Scene().Pending().size(), 2u);
    EXPECT_EQ(s->Bounds().left, 1);
}

TEST_F(SceneTest, IdleSceneComposesNothing) {
    w->AddGraph(Sprite(0, 0, 10, 10, kPond));
    Frame();
    NativeOf(w)->ClearPresents();
    Frame();
    Frame();
    EXPECT_TRUE(NativeOf(w)->Presents().empty());
}

TEST_F(SceneTest, EqualDepthsDrawInInsertionOrderAndGreaterDepthLiesBehind) {
    w->AddGraph(Sprite(0, 0, 10, 10, {0, 0, 255}));  // red
    w->AddGraph(Sprite(5, 0, 10, 10, {0, 255, 0}));  // green, added later: on top
    w->AddGraph(Sprite(0, 20, 10, 10, {0, 0, 255}, 1));
    w->AddGraph(Sprite(5, 20, 10, 10, {0, 255, 0}, 5));  // added later but further back
    Frame();
    EXPECT_EQ(PixelAt(w, 7, 5), (Colour{0, 255, 0}));
    EXPECT_EQ(PixelAt(w, 7, 25), (Colour{0, 0, 255}));
    EXPECT_EQ(PixelAt(w, 12, 25), (Colour{0, 255, 0}));
}

TEST_F(SceneTest, KeyPixelsLeaveWhatIsBelowVisible) {
    auto* s = Sprite(0, 0, 4, 4, {1, 2, 3});
    s->SetColourKey(0x00FF00FF);
    s->SetPixel(1, 1, 0xFF, 0x00, 0xFF);
    s->UseRuns();
    w->AddGraph(s);
    Frame();
    EXPECT_EQ(PixelAt(w, 1, 1), kPond);
    EXPECT_EQ(PixelAt(w, 2, 1), (Colour{1, 2, 3}));
}

TEST_F(SceneTest, HalfTransparentWhiteOverBlackGives127) {
    auto* black = Sprite(0, 0, 4, 4, {0, 0, 0}, 10);
    black->SetColourKey(0x01000000);  // no 24-bit pixel matches it
    w->AddGraph(black);
    auto* white = Sprite(0, 0, 4, 4, {255, 255, 255});
    white->SetTransparency(128);
    w->AddGraph(white);
    Frame();
    EXPECT_EQ(PixelAt(w, 2, 2), (Colour{127, 127, 127}));
}

TEST_F(SceneTest, DestroyedDrawableIsNeverAskedToDrawAgainAndItsAreaIsCleared) {
    auto* s = Sprite(0, 0, 10, 10, {0, 0, 255});
    auto* other = Sprite(20, 0, 10, 10, {0, 255, 0});
    w->AddGraph(s);
    w->AddGraph(other);
    Frame();
    s->Destroy();
    Frame();
    EXPECT_EQ(PixelAt(w, 5, 5), kPond);
    EXPECT_EQ(w->Scene().SceneSize(), 1u);
    other->SetPosition(0, 0, 0);  // over the old place: the dead one must not be drawn
    Frame();
    EXPECT_EQ(PixelAt(w, 5, 5), (Colour{0, 255, 0}));
}

TEST_F(SceneTest, MovedThenDestroyedWithinOneFrameLeavesNoTrace) {
    auto* s = Sprite(0, 0, 10, 10, {0, 0, 255});
    w->AddGraph(s);
    Frame();
    s->SetPosition(50, 50, 0);
    s->Destroy();
    Frame();
    EXPECT_EQ(w->Scene().SceneSize(), 0u);
    EXPECT_EQ(PixelAt(w, 5, 5), kPond);
    EXPECT_EQ(PixelAt(w, 55, 55), kPond);
}

TEST_F(SceneTest, RemovedDrawableLeavesTheSceneButStaysAlive) {
    auto* s = Sprite(0, 0, 10, 10, {0, 0, 255});
    w->AddGraph(s);
    Frame();
    w->RemoveGraph(s);
    Frame();
    EXPECT_TRUE(IsLive(s));
    EXPECT_EQ(s->Window(), nullptr);
    EXPECT_EQ(PixelAt(w, 5, 5), kPond);
    s->Destroy();
}

TEST_F(SceneTest, NothingIsComposedWhileStopping) {
    auto* s = Sprite(0, 0, 10, 10, {0, 0, 255});
    w->AddGraph(s);
    w->RequestStop();
    w->Compose();
    EXPECT_TRUE(s->drawn.empty());
    EXPECT_EQ(PixelAt(w, 5, 5), kPond);
}

TEST_F(SceneTest, DrawingIsClippedToThePictureAtEveryEdge) {
    auto* topLeft = Sprite(-5, -5, 10, 10, {0, 0, 255});
    auto* bottomRight = Sprite(1020, 765, 10, 10, {0, 255, 0});
    w->AddGraph(topLeft);
    w->AddGraph(bottomRight);
    Frame();
    EXPECT_EQ(PixelAt(w, 0, 0), (Colour{0, 0, 255}));
    EXPECT_EQ(PixelAt(w, 4, 4), (Colour{0, 0, 255}));
    EXPECT_EQ(PixelAt(w, 5, 5), kPond);
    EXPECT_EQ(PixelAt(w, 1023, 767), (Colour{0, 255, 0}));
}

TEST_F(SceneTest, DrawBitmapIgnoresRectanglesOutsideOrAbsurd) {
    auto* s = Sprite(0, 0, 10, 10, {0, 0, 255});
    w->AddGraph(s);
    w->DrawBitmap(s, INT_MAX - 5, 0, 10, 10, 0, 0, 10, 10);
    w->DrawBitmap(s, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 10, 10);
    w->DrawBitmap(s, 0, 0, 10, 10, -INT_MAX, 0, 10, 10);
    w->DrawBitmap(s, 0, 0, -4, 10, 0, 0, -4, 10);
    w->DrawBitmap(s, 100, 100, 10, 10, 10, 0, 10, 10);  // source starts past its width
    w->DrawBitmap(nullptr, 0, 0, 10, 10, 0, 0, 10, 10);
    EXPECT_EQ(PixelAt(w, 100, 100), kPond);
    // A source larger than the object is cut to the object.
    w->DrawBitmap(s, 200, 200, 50, 50, 5, 5, 50, 50);
    EXPECT_EQ(PixelAt(w, 204, 204), (Colour{0, 0, 255}));
    EXPECT_EQ(PixelAt(w, 205, 205), kPond);
}

TEST_F(SceneTest, ObjectsStepInListOrderAndMayDestroyThemselves) {
    class SelfDestroying : public TestSprite {
      public:
        SelfDestroying() : TestSprite(1, 1, 0, 0, 0) {}
        void Step(uint32_t t) override {
            TestSprite::Step(t);
            Destroy();
        }
    };
    auto* first = new SelfDestroying;
    auto* second = Sprite(0, 0, 1, 1, kPond);
    auto* third = Sprite(0, 0, 1, 1, kPond);
    w->AddGraph(first);
    w->AddGraph(second);
    w->AddGraph(third);
    Frame();
    EXPECT_FALSE(IsLive(first));
    EXPECT_EQ(second->LastStepTime(), 0u);  // moved into the freed position: not stepped this frame
    EXPECT_EQ(third->LastStepTime(), now);
    Frame();
    EXPECT_EQ(second->LastStepTime(), now);
}

TEST_F(SceneTest, NestedDrawablesReportThroughTheirTopLevelOwner) {
    auto* group = new TestGroup;
    group->SetSize(100, 100, 0);
    auto* child = Sprite(3, 4, 5, 5, {0, 0, 255});
    group->AddChild(child);
    w->AddGraph(Sprite(0, 0, 1, 1, kPond));
    w->AddGraph(group);
    child->AttachToWindow(w);
    ASSERT_FALSE(w->Scene().Pending().empty());
    const OGraphNotify& last = w->Scene().Pending().back();
    EXPECT_EQ(last.owner, group);
    EXPECT_EQ(last.orderIndex, 2);
    EXPECT_EQ(last.drawable, child);
    Frame();
    EXPECT_EQ(PixelAt(w, 5, 5), (Colour{0, 0, 255}));
}

}  // namespace
