#include <gtest/gtest.h>

#include "graphics/DirtyRectList.h"

namespace {

TEST(DirtyRectList, TwoOverlappingReportsLeaveThreeRectanglesInOrder) {
    DirtyRectList list;
    list.Add({0, 0, 10, 10});
    list.Add({5, 5, 15, 15});
    std::vector<ORect> expected{{0, 0, 10, 10}, {10, 5, 15, 15}, {5, 10, 10, 15}};
    EXPECT_EQ(list.Rects(), expected);
}

TEST(DirtyRectList, PiecesComeTopRightBottomLeft) {
    std::vector<ORect> pieces;
    DirtyRectList::Subtract({0, 0, 30, 30}, {10, 10, 20, 20}, pieces);
    std::vector<ORect> expected{{0, 0, 30, 10}, {20, 10, 30, 30}, {0, 20, 20, 30}, {0, 10, 10, 20}};
    EXPECT_EQ(pieces, expected);
}

TEST(DirtyRectList, RectangleInsideAnotherAddsNothing) {
    DirtyRectList list;
    list.Add({0, 0, 100, 100});
    list.Add({10, 10, 20, 20});
    list.Add({0, 0, 100, 100});
    EXPECT_EQ(list.Rects().size(), 1u);
}

TEST(DirtyRectList, EmptyRectanglesAreIgnored) {
    DirtyRectList list;
    list.Add({5, 5, 5, 10});
    list.Add({5, 5, 10, 4});
    EXPECT_TRUE(list.Empty());
}

TEST(DirtyRectList, CrossingWithoutACornerInsideKeepsBoth) {
    // A plus sign: no corner of either lies inside the other, so the overlap stays (drawn twice).
    DirtyRectList list;
    list.Add({10, 0, 20, 30});
    list.Add({0, 10, 30, 20});
    std::vector<ORect> expected{{10, 0, 20, 30}, {0, 10, 30, 20}};
    EXPECT_EQ(list.Rects(), expected);
}

TEST(DirtyRectList, TouchingEdgesDoNotOverlap) {
    DirtyRectList list;
    list.Add({0, 0, 10, 10});
    list.Add({10, 0, 20, 10});
    EXPECT_EQ(list.Rects().size(), 2u);
    EXPECT_EQ(list.Rects()[1], (ORect{10, 0, 20, 10}));
}

TEST(DirtyRectList, NewRectangleIsCutByEveryListedOne) {
    DirtyRectList list;
    list.Add({0, 0, 10, 10});
    list.Add({20, 0, 30, 10});
    list.Add({5, 0, 25, 10});  // only the gap between the two remains
    ASSERT_EQ(list.Rects().size(), 3u);
    EXPECT_EQ(list.Rects()[2], (ORect{10, 0, 20, 10}));
}

}  // namespace
