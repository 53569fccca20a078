#include <gtest/gtest.h>

#include "graphics/Compositor.h"

namespace {

OGraph* const A = reinterpret_cast<OGraph*>(0x1000);
OGraph* const B = reinterpret_cast<OGraph*>(0x2000);

OGraphNotify Rec(OGraph* d, ORect r, uint8_t kind, float depth = 0, int order = 1) {
    OGraphNotify n;
    n.drawable = d;
    n.rect = r;
    n.kind = kind;
    n.depth = depth;
    n.orderIndex = order;
    return n;
}

TEST(CompositorReduce, MovedDrawableKeepsUncoveredThenShown) {
    auto kept = Compositor().Reduce(
        {Rec(A, {0, 0, 5, 5}, 1), Rec(A, {1, 0, 6, 5}, 0), Rec(A, {1, 0, 6, 5}, 1), Rec(A, {2, 0, 7, 5}, 0)});
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].rect, (ORect{0, 0, 5, 5}));
    EXPECT_EQ(kept[0].kind, 1);
    EXPECT_EQ(kept[1].rect, (ORect{2, 0, 7, 5}));
    EXPECT_EQ(kept[1].kind, 0);
}

TEST(CompositorReduce, ShownAndHiddenWithinOneFrameKeepsNothing) {
    EXPECT_TRUE(Compositor().Reduce({Rec(A, {0, 0, 5, 5}, 0), Rec(A, {0, 0, 5, 5}, 1)}).empty());
}

TEST(CompositorReduce, TwoShowsKeepTheLast) {
    auto kept = Compositor().Reduce({Rec(A, {0, 0, 5, 5}, 0), Rec(A, {3, 3, 9, 9}, 0)});
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].rect, (ORect{3, 3, 9, 9}));
}

TEST(CompositorReduce, TwoUncoveringsKeepTheFirst) {
    auto kept = Compositor().Reduce({Rec(A, {0, 0, 5, 5}, 1), Rec(A, {3, 3, 9, 9}, 1)});
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].rect, (ORect{0, 0, 5, 5}));
}

TEST(CompositorReduce, EqualFirstAndLastKeepFirstWhateverTheOwnerOrDepth) {
    OGraphNotify first = Rec(A, {0, 0, 5, 5}, 1, 3.0f, 7);
    OGraphNotify last = Rec(A, {0, 0, 5, 5}, 1, 9.0f, 2);
    auto kept = Compositor().Reduce({first, Rec(A, {1, 1, 2, 2}, 0), last});
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].depth, 3.0f);
}

TEST(CompositorReduce, DrawablesKeepTheOrderOfTheirFirstReport) {
    auto kept =
        Compositor().Reduce({Rec(B, {0, 0, 1, 1}, 0), Rec(A, {0, 0, 2, 2}, 0), Rec(B, {0, 0, 3, 3}, 0)});
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].drawable, B);
    EXPECT_EQ(kept[0].rect, (ORect{0, 0, 3, 3}));
    EXPECT_EQ(kept[1].drawable, A);
}

TEST(Compositor, ReportsWithEmptyRectangleOrUnknownKindAreIgnored) {
    Compositor c;
    c.Report(Rec(A, {5, 5, 5, 9}, 0));
    c.Report(Rec(A, {0, 0, 5, 5}, 2));
    EXPECT_TRUE(c.Pending().empty());
    EXPECT_FALSE(c.Prepare());
}

TEST(Compositor, SceneSortsByDepthBackToFrontThenOrderIndexStably) {
    Compositor c;
    OGraph* C = reinterpret_cast<OGraph*>(0x3000);
    c.Report(Rec(A, {0, 0, 1, 1}, 0, 10.0f, 2));
    c.Report(Rec(B, {0, 0, 1, 1}, 0, 10.0f, 1));
    c.Report(Rec(C, {0, 0, 1, 1}, 0, 50.0f, 3));
    ASSERT_TRUE(c.Prepare());
    auto sorted = c.SortedScene();
    ASSERT_EQ(sorted.size(), 3u);
    EXPECT_EQ(sorted[0].drawable, C);  // furthest back
    EXPECT_EQ(sorted[1].drawable, B);
    EXPECT_EQ(sorted[2].drawable, A);
}

TEST(Compositor, AShowElsewhereReplacesTheSceneEntryAndDirtiesBothAreas) {
    Compositor c;
    c.Report(Rec(A, {0, 0, 5, 5}, 0));
    c.Prepare();
    c.ClearDirty();
    c.Report(Rec(A, {10, 10, 20, 20}, 0, 4.0f, 3));
    EXPECT_TRUE(c.Prepare());
    auto sorted = c.SortedScene();
    ASSERT_EQ(sorted.size(), 1u);
    EXPECT_EQ(sorted[0].rect, (ORect{10, 10, 20, 20}));
    EXPECT_EQ(sorted[0].depth, 4.0f);
    EXPECT_EQ(sorted[0].orderIndex, 3);
    EXPECT_EQ(c.Dirty(), (std::vector<ORect>{{0, 0, 5, 5}, {10, 10, 20, 20}}));
}

TEST(Compositor, ForgettingADrawableDropsItsReportsAndEntryAndDirtiesItsArea) {
    Compositor c;
    c.Report(Rec(A, {0, 0, 5, 5}, 0));
    c.Prepare();
    c.ClearDirty();
    c.Report(Rec(A, {0, 0, 5, 5}, 1));
    c.Report(Rec(A, {8, 8, 9, 9}, 0));
    c.Forget(A);
    EXPECT_TRUE(c.Pending().empty());
    EXPECT_FALSE(c.InScene(A));
    EXPECT_EQ(c.Dirty(), (std::vector<ORect>{{0, 0, 5, 5}}));
}

}  // namespace
