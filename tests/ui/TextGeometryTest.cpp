#include <gtest/gtest.h>

#include <vector>

#include "ui/TextGeometry.h"

namespace {
using text_geometry::CharAt;
using text_geometry::LastVisible;
using text_geometry::ScrollFor;
using text_geometry::Span;

// Prefix widths of "WiW": the kerning-free widths 10, 4, 10, but the pair "Wi" measured as 13, so
// summing single characters would be wrong by one pixel.
const std::vector<int> kPrefix{0, 10, 13, 23};

TEST(TextGeometry, SpansComeFromWholePrefixes) {
    EXPECT_EQ(Span(kPrefix, 0, 0).startX, 0);
    EXPECT_EQ(Span(kPrefix, 0, 0).endX, 10);
    EXPECT_EQ(Span(kPrefix, 0, 1).startX, 10);
    EXPECT_EQ(Span(kPrefix, 0, 1).endX, 13);
    EXPECT_EQ(Span(kPrefix, 0, 2).endX, 23);
}

TEST(TextGeometry, SpansAreRelativeToTheFirstVisibleCharacter) {
    EXPECT_EQ(Span(kPrefix, 1, 0).startX, -10);
    EXPECT_EQ(Span(kPrefix, 1, 1).startX, 0);
    EXPECT_EQ(Span(kPrefix, 1, 2).endX, 13);
}

TEST(TextGeometry, IndexAtOrPastTheEndIsAnEmptySpanAtTheEnd) {
    for (int index : {3, 4, 100}) {
        EXPECT_EQ(Span(kPrefix, 0, index).startX, 23);
        EXPECT_EQ(Span(kPrefix, 0, index).endX, 23);
    }
    EXPECT_EQ(Span(kPrefix, 2, 3).startX, 10);
}

TEST(TextGeometry, NegativeIndexOrEmptyTextIsZero) {
    EXPECT_EQ(Span(kPrefix, 0, -1).startX, 0);
    EXPECT_EQ(Span(kPrefix, 0, -1).endX, 0);
    const std::vector<int> empty{0};
    EXPECT_EQ(Span(empty, 0, 0).endX, 0);
    EXPECT_EQ(Span({}, 0, 0).endX, 0);
}

TEST(TextGeometry, CharAtFindsTheSpanHoldingX) {
    EXPECT_EQ(CharAt(kPrefix, 0, 0), 0);
    EXPECT_EQ(CharAt(kPrefix, 0, 9), 0);
    EXPECT_EQ(CharAt(kPrefix, 0, 10), 1);
    EXPECT_EQ(CharAt(kPrefix, 0, 22), 2);
    EXPECT_EQ(CharAt(kPrefix, 1, 0), 1);
    EXPECT_EQ(CharAt(kPrefix, 1, 3), 2);
}

TEST(TextGeometry, CharAtPastTheTextIsTheLengthAndLeftOfItZero) {
    EXPECT_EQ(CharAt(kPrefix, 0, 23), 3);
    EXPECT_EQ(CharAt(kPrefix, 0, 500), 3);
    EXPECT_EQ(CharAt(kPrefix, 1, -1), 0);
    EXPECT_EQ(CharAt(std::vector<int>{0}, 0, 5), 0);
}

TEST(TextGeometry, LastVisibleIsTheLastCharacterEndingInsideTheBox) {
    EXPECT_EQ(LastVisible(kPrefix, 0, 24.0f), 2);
    EXPECT_EQ(LastVisible(kPrefix, 0, 23.0f), 1);  // ending exactly at the edge does not fit
    EXPECT_EQ(LastVisible(kPrefix, 0, 11.0f), 0);
    EXPECT_EQ(LastVisible(kPrefix, 1, 14.0f), 2);
}

TEST(TextGeometry, LastVisibleIsZeroWhenNothingFits) {
    EXPECT_EQ(LastVisible(kPrefix, 2, 5.0f), 0);
    EXPECT_EQ(LastVisible(std::vector<int>{0}, 0, 100.0f), 0);
}

TEST(TextGeometry, CursorLeftOfTheBoxBecomesTheFirstVisible) {
    EXPECT_EQ(ScrollFor(2, 5, 9, 12, true), 2);
    EXPECT_EQ(ScrollFor(0, 5, 9, 12, true), 0);
}

TEST(TextGeometry, CursorInsideTheBoxScrollsNothing) {
    EXPECT_EQ(ScrollFor(5, 5, 9, 12, true), 5);
    EXPECT_EQ(ScrollFor(9, 5, 9, 12, true), 5);
}

TEST(TextGeometry, CursorRightOfTheBoxScrollsByItsDistance) {
    EXPECT_EQ(ScrollFor(11, 5, 9, 12, true), 7);
}

TEST(TextGeometry, CursorAtTheEndScrollsOnlyWhenTheLastCharacterDoesNotFit) {
    EXPECT_EQ(ScrollFor(10, 0, 9, 10, true), 0);
    EXPECT_EQ(ScrollFor(10, 0, 8, 10, false), 2);
}
}  // namespace
