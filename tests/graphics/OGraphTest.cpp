#include <gtest/gtest.h>

#include "graphics/LiveSet.h"
#include "graphics/OGraph.h"
#include "tests/support/TestSprite.h"

namespace {

// Records the reports that reach it from its children.
class RecordingParent : public TestGroup {
  public:
    void NotifyChange(OGraph* drawable, bool& handled, uint8_t kind, const ORect* rect) override {
        reports.push_back({drawable, rect ? *rect : ORect{}, kind});
        handled = true;
    }
    struct Report {
        OGraph* drawable;
        ORect rect;
        uint8_t kind;
    };
    std::vector<Report> reports;
};

TEST(OGraphAlign, FlagsFifteenCentreInBothDirections) {
    auto* parent = new TestGroup;
    parent->SetSize(100, 40, 0);
    auto* child = new TestSprite(20, 10, 0, 0, 0);
    child->SetAlignFlags(15);
    parent->AddChild(child);
    EXPECT_FLOAT_EQ(child->LocalX(), 40);
    EXPECT_FLOAT_EQ(child->LocalY(), 15);
    parent->Destroy();
}

TEST(OGraphAlign, ThirteenAndFourteenHugTheLeftAndRightEdgesVerticallyCentred) {
    auto* parent = new TestGroup;
    parent->SetSize(100, 40, 0);
    auto* left = new TestSprite(20, 10, 0, 0, 0);
    auto* right = new TestSprite(20, 10, 0, 0, 0);
    left->SetPosition(33, 3, 0);
    left->SetAlignFlags(13);
    right->SetAlignFlags(14);
    parent->AddChild(left);
    parent->AddChild(right);
    EXPECT_FLOAT_EQ(left->LocalX(), 0);
    EXPECT_FLOAT_EQ(left->LocalY(), 15);
    EXPECT_FLOAT_EQ(right->LocalX(), 80);
    EXPECT_FLOAT_EQ(right->LocalY(), 15);
    parent->Destroy();
}

TEST(OGraphAlign, NothingHappensWithoutParentOrWithZeroSize) {
    auto* lone = new TestSprite(20, 10, 0, 0, 0);
    lone->SetPosition(3, 4, 0);
    lone->SetAlignFlags(15);
    lone->Align();
    EXPECT_FLOAT_EQ(lone->LocalX(), 3);
    lone->Destroy();
}

TEST(OGraphLifetime, TemplateOutlivesItsCopiesAndGoesWithTheLast) {
    auto* templ = new TestSprite(4, 4, 0, 0, 0);
    OGraph* copy = templ->Clone();
    ASSERT_TRUE(IsLive(copy));
    EXPECT_EQ(copy->Template(), templ);
    EXPECT_EQ(templ->CopyCount(), 1);
    templ->Destroy();
    EXPECT_TRUE(IsLive(templ));
    copy->Destroy();
    EXPECT_FALSE(IsLive(copy));
    EXPECT_FALSE(IsLive(templ));
}

TEST(OGraphLifetime, KeptTemplateSurvivesItsLastCopy) {
    auto* templ = new TestSprite(4, 4, 0, 0, 0);
    templ->SetKeep(true);
    OGraph* a = templ->Clone();
    OGraph* b = a->Clone();  // a copy of a copy shares the first template
    EXPECT_EQ(b->Template(), templ);
    EXPECT_EQ(templ->CopyCount(), 2);
    a->Destroy();
    b->Destroy();
    EXPECT_TRUE(IsLive(templ));
    EXPECT_EQ(templ->CopyCount(), 0);
    templ->SetKeep(false);
    templ->Destroy();
    EXPECT_FALSE(IsLive(templ));
}

TEST(OGraphLifetime, CopyIntoATemplateWithLiveCopiesIsRefused) {
    auto* templ = new TestSprite(4, 4, 0, 0, 0);
    auto* other = new TestSprite(4, 4, 0, 0, 0);
    OGraph* copy = templ->Clone();
    EXPECT_FALSE(templ->CopyFrom(other));
    EXPECT_FALSE(other->CopyFrom(nullptr));
    EXPECT_EQ(templ->Template(), nullptr);
    copy->Destroy();
    other->Destroy();
}

TEST(OGraphLifetime, CopyTakesTheTemplatesPlaceAndLooks) {
    auto* templ = new TestSprite(8, 6, 0, 0, 0);
    templ->SetPosition(5, 7, 2);
    templ->SetColourKey(0xFF00FF);
    templ->SetTransparency(90);
    templ->SetVisible(false);
    OGraph* copy = templ->Clone();
    EXPECT_FLOAT_EQ(copy->X(), 5);
    EXPECT_FLOAT_EQ(copy->Width(), 8);
    EXPECT_EQ(copy->ColourKey(), 0xFF00FFu);
    EXPECT_EQ(copy->Transparency(), 90u);
    EXPECT_FALSE(copy->IsVisible());
    copy->Destroy();
}

TEST(OGraphLifetime, KeptChildOfADestroyedGroupSurvivesDetachedAndHidden) {
    auto* group = new TestGroup;
    auto* kept = new TestSprite(4, 4, 0, 0, 0);
    auto* plain = new TestSprite(4, 4, 0, 0, 0);
    kept->SetKeep(true);
    group->AddChild(kept);
    group->AddChild(plain);
    group->Destroy();
    EXPECT_FALSE(IsLive(group));
    EXPECT_FALSE(IsLive(plain));
    ASSERT_TRUE(IsLive(kept));
    EXPECT_EQ(kept->Parent(), nullptr);
    EXPECT_EQ(kept->Window(), nullptr);
    EXPECT_FALSE(kept->IsVisible());
    kept->SetKeep(false);
    kept->Destroy();
}

TEST(OGraphLifetime, DestroyedChildLeavesItsParentsList) {
    auto* group = new TestGroup;
    auto* child = new TestSprite(4, 4, 0, 0, 0);
    group->AddChild(child);
    child->Destroy();
    EXPECT_TRUE(group->children.empty());
    group->Destroy();
}

TEST(OGraphLifetime, LiveSetCountsEveryObjectOnce) {
    size_t before = live_set::Count();
    auto* g = new TestGroup;
    EXPECT_EQ(live_set::Count(), before + 1);
    g->Destroy();
    EXPECT_EQ(live_set::Count(), before);
    EXPECT_FALSE(IsLive(nullptr));
}

TEST(OGraphParent, ChildPositionIsRelativeAndFollowsReparenting) {
    auto* a = new TestGroup;
    auto* b = new TestGroup;
    a->SetPosition(100, 50, 10);
    auto* child = new TestSprite(4, 4, 0, 0, 0);
    child->SetPosition(3, 4, 1);
    a->AddChild(child);
    EXPECT_FLOAT_EQ(child->X(), 103);
    EXPECT_FLOAT_EQ(child->Depth(), 11);
    b->AddChild(child);  // leaves a's list
    EXPECT_TRUE(a->children.empty());
    EXPECT_FLOAT_EQ(child->X(), 3);
    a->Destroy();
    b->Destroy();
}

TEST(OGraphNotify, ReportsAreClampedToEachParentOnTheWayUp) {
    auto* parent = new RecordingParent;
    parent->SetSize(10, 10, 0);
    auto* child = new TestSprite(8, 8, 0, 0, 0);
    child->SetPosition(5, 5, 0);
    parent->AddChild(child);
    bool handled = false;
    child->NotifyChange(child, handled, 0, nullptr);
    ASSERT_EQ(parent->reports.size(), 1u);
    EXPECT_EQ(parent->reports[0].rect, (ORect{5, 5, 13, 13}));
    ORect outside{20, 20, 30, 30};
    child->NotifyChange(child, handled, 0, &outside);
    EXPECT_EQ(parent->reports.size(), 1u);  // clamped to nothing: not passed on
    parent->Destroy();
}

TEST(OGraphNotify, AnUnattachedObjectAnswersHandled) {
    auto* lone = new TestSprite(4, 4, 0, 0, 0);
    bool handled = false;
    lone->NotifyChange(lone, handled, 0, nullptr);
    EXPECT_TRUE(handled);
    lone->Destroy();
}

TEST(OGraphStep, VelocityIsAddedPerStepAndAHorizontalOneWaitsForAFirstStep) {
    auto* g = new TestGroup;
    g->SetVelocity(2, 0, 0);
    g->Step(100);
    EXPECT_FLOAT_EQ(g->X(), 0);
    g->Step(120);
    EXPECT_FLOAT_EQ(g->X(), 2);
    g->SetVelocity(0, -1.5f, 0);
    g->Step(140);
    EXPECT_FLOAT_EQ(g->Y(), -1.5f);
    EXPECT_EQ(g->LastStepTime(), 140u);
    g->Destroy();
}

TEST(OGraphStep, RestoreUndoesTheLastChange) {
    auto* g = new TestGroup;
    g->SetPosition(1, 2, 3);
    g->SetSize(4, 5, 6);
    g->SetPosition(9, 9, 9);  // saves the state it changes
    g->RestoreState();
    EXPECT_FLOAT_EQ(g->X(), 1);
    EXPECT_FLOAT_EQ(g->LocalDepth(), 3);
    EXPECT_FLOAT_EQ(g->Height(), 5);
    g->Destroy();
}

}  // namespace
