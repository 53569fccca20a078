#include <gtest/gtest.h>

#include "ui/ButtonLooks.h"

namespace {
using button_looks::FrameRange;
using button_looks::Ranges;

void ExpectRange(const FrameRange& r, int first, int end) {
    EXPECT_EQ(r.first, first);
    EXPECT_EQ(r.end, end);
}

TEST(ButtonLooks, ThreeFramesGiveOneFrameEach) {
    auto r = Ranges(3, 0, 1, 2);
    ExpectRange(r[0], 0, 1);
    ExpectRange(r[1], 1, 2);
    ExpectRange(r[2], 2, 3);
}

TEST(ButtonLooks, OneFrameServesAllThreeLooks) {
    auto r = Ranges(1, 0, 1, 2);
    ExpectRange(r[0], 0, 1);
    ExpectRange(r[1], 0, 1);
    ExpectRange(r[2], 0, 1);
}

TEST(ButtonLooks, OfTwoFramesTheSecondIsHighlightAndPressed) {
    auto r = Ranges(2, 0, 1, 2);
    ExpectRange(r[0], 0, 1);
    ExpectRange(r[1], 1, 2);
    ExpectRange(r[2], 1, 2);
}

TEST(ButtonLooks, ThePressedLookRunsToTheEnd) {
    auto r = Ranges(6, 0, 1, 2);
    ExpectRange(r[2], 2, 6);
}

TEST(ButtonLooks, LooksSpanSeveralFramesUpToTheNextLook) {
    auto r = Ranges(8, 0, 3, 5);
    ExpectRange(r[0], 0, 3);
    ExpectRange(r[1], 3, 5);
    ExpectRange(r[2], 5, 8);
}

TEST(ButtonLooks, SharedStartFramesGiveTheStartFrameAlone) {
    // The leaf and frog templates: frame 0 normal, frame 1 highlight, frames 1 on pressed.
    auto r = Ranges(2, 0, 1, 1);
    ExpectRange(r[0], 0, 1);
    ExpectRange(r[1], 1, 2);
    ExpectRange(r[2], 1, 2);
}

TEST(ButtonLooks, StartsPastTheEndBecomeTheLastFrame) {
    auto r = Ranges(4, 9, 9, 9);
    ExpectRange(r[0], 3, 4);
    ExpectRange(r[1], 3, 4);
    ExpectRange(r[2], 3, 4);
}

TEST(ButtonLooks, NegativeStartsStayInsideTheClip) {
    auto r = Ranges(3, -5, -1, -7);
    for (const FrameRange& range : r) {
        EXPECT_GE(range.first, 0);
        EXPECT_LE(range.end, 3);
        EXPECT_FALSE(range.Empty());
    }
}

TEST(ButtonLooks, NoFramesNoLooks) {
    for (const FrameRange& range : Ranges(0, 0, 1, 2)) EXPECT_TRUE(range.Empty());
}
}  // namespace
