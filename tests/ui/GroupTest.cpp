// Groups: children stepped at the group's rate, drawn in order, shown and hidden as one, size that
// only grows.
#include "graphics/LiveSet.h"
#include "graphics/OClip.h"
#include "tests/support/TestSprite.h"
#include "tests/ui/UiFixture.h"
#include "ui/OGroup.h"

namespace {
using namespace ui_test;

class CountingGraph : public OGraph {
  public:
    void Step(uint32_t timeMs) override {
        ++steps;
        OGraph::Step(timeMs);
    }
    int steps = 0;
};

class GroupTest : public UiTest {
  protected:
    // Steps the group every 20 ms for `ms` milliseconds.
    void StepFor(OGroup* g, uint32_t ms) {
        for (uint32_t t = 20; t <= ms; t += 20) g->Step(now + t);
        now += ms;
    }
};

TEST_F(GroupTest, RateZeroNeverStepsTheChildren) {
    auto* g = new OGroup();
    auto* child = new CountingGraph();
    g->AddChild(child);
    EXPECT_EQ(g->FrameRate(), 0);
    StepFor(g, 2000);
    EXPECT_EQ(child->steps, 0);
    g->Destroy();
}

TEST_F(GroupTest, AChildClipOfRate12StepsTheChildrenAtMost12TimesASecond) {
    auto* g = new OGroup();
    auto* child = new CountingGraph();
    auto* clip = new OClip();
    clip->SetFrameRate(12);
    g->AddChild(child);
    g->AddChild(clip);
    EXPECT_EQ(g->FrameRate(), 12);
    g->Step(now);
    const int first = child->steps;
    StepFor(g, 1000);
    // 84 ms must pass between child steps; in steps of 20 ms that is every fifth.
    EXPECT_LE(child->steps - first, 12);
    EXPECT_GE(child->steps - first, 10);
    g->Destroy();
}

TEST_F(GroupTest, TheRateIsRaisedNeverLowered) {
    auto* g = new OGroup();
    for (int rate : {12, 4, 25, 10}) {
        auto* clip = new OClip();
        clip->SetFrameRate(rate);
        g->AddChild(clip);
    }
    EXPECT_EQ(g->FrameRate(), 25);
    g->Destroy();
}

TEST_F(GroupTest, AnEmptyGroupDoesNotEvenMoveByItsVelocity) {
    auto* g = new OGroup();
    g->SetVelocity(2, 3, 0);
    StepFor(g, 200);
    EXPECT_EQ(g->X(), 0.0f);
    EXPECT_EQ(g->Y(), 0.0f);
    g->AddChild(new CountingGraph());
    StepFor(g, 100);
    EXPECT_EQ(g->Y(), 15.0f);
    g->Destroy();
}

TEST_F(GroupTest, TheSizeGrowsToCoverEveryChildAndNeverShrinks) {
    auto* g = new OGroup();
    auto* a = new TestSprite(20, 10, 0, 0, 0);
    a->SetPosition(10, 5, 0);
    g->AddChild(a);
    EXPECT_EQ(g->Width(), 30.0f);
    EXPECT_EQ(g->Height(), 15.0f);
    g->AddChild(new TestSprite(4, 4, 0, 0, 0));
    EXPECT_EQ(g->Width(), 30.0f);
    EXPECT_EQ(g->Height(), 15.0f);
    EXPECT_EQ(g->FrameCount(), 2);
    g->Destroy();
}

TEST_F(GroupTest, AChildThatIsNotLiveIsIgnored) {
    auto* g = new OGroup();
    auto* gone = new CountingGraph();
    gone->Destroy();
    g->AddChild(gone);
    g->AddChild(nullptr);
    EXPECT_EQ(g->FrameCount(), 0);
    g->Destroy();
}

TEST_F(GroupTest, AllChildrenAreDrawnInTheOrderTheyWereAdded) {
    auto* g = new OGroup();
    auto* red = new TestSprite(20, 20, 0, 0, 255);
    auto* blue = new TestSprite(20, 20, 255, 0, 0);
    blue->SetPosition(10, 0, 0);
    g->AddChild(red);
    g->AddChild(blue);
    g->SetPosition(100, 100, 0);
    w->AddGraph(g);
    Frame();
    // The group's own Draw (a button draws this way: its looks, then its caption).
    const ORect area{100, 100, 130, 120};
    w->FillBackground(area);
    g->Draw(&area);
    EXPECT_EQ(At(105, 105), (Colour{0, 0, 255}));
    EXPECT_EQ(At(115, 105), (Colour{255, 0, 0})) << "the later child lies on top";
    EXPECT_EQ(At(125, 105), (Colour{255, 0, 0}));
    EXPECT_EQ(red->Window(), w);
    EXPECT_EQ(blue->Window(), w);
}

TEST_F(GroupTest, HidingAndShowingTheGroupHidesAndShowsEveryVisibleChild) {
    auto* g = new OGroup();
    auto* a = new TestSprite(20, 20, 0, 0, 255);
    auto* b = new TestSprite(20, 20, 0, 255, 0);
    auto* hidden = new TestSprite(20, 20, 255, 0, 0);
    b->SetPosition(40, 0, 0);
    hidden->SetPosition(80, 0, 0);
    hidden->SetVisible(false);
    for (OGraph* c : {static_cast<OGraph*>(a), static_cast<OGraph*>(b), static_cast<OGraph*>(hidden)})
        g->AddChild(c);
    g->SetPosition(100, 100, 0);
    w->AddGraph(g);
    Frame();
    EXPECT_EQ(At(105, 105), (Colour{0, 0, 255}));
    g->SetVisible(false);
    Frame();
    EXPECT_EQ(At(105, 105), kPond);
    EXPECT_EQ(At(145, 105), kPond);
    g->SetVisible(true);
    Frame();
    EXPECT_EQ(At(105, 105), (Colour{0, 0, 255}));
    EXPECT_EQ(At(145, 105), (Colour{0, 255, 0}));
    EXPECT_EQ(At(185, 105), kPond) << "a hidden child stays hidden";
}

TEST_F(GroupTest, DestroyingTheGroupDestroysItsChildren) {
    auto* g = new OGroup();
    auto* child = new CountingGraph();
    g->AddChild(child);
    w->AddGraph(g);
    g->Destroy();
    EXPECT_FALSE(IsLive(child));
}

TEST_F(GroupTest, CloneCopiesTheChildren) {
    auto* g = new OGroup();
    g->AddChild(new TestSprite(20, 20, 0, 0, 255));
    OGraph* copy = g->Clone();
    auto* group = dynamic_cast<OGroup*>(copy);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->FrameCount(), 1);
    g->Destroy();
    EXPECT_TRUE(IsLive(g)) << "a template lives on while a copy of it does";
    copy->Destroy();
    EXPECT_FALSE(IsLive(g)) << "the last copy takes the template with it";
}

}  // namespace
