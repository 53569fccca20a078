#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/WordFlow.h"

namespace {
using word_flow::Band;
using word_flow::Flow;
using word_flow::LineShift;
using word_flow::Point;
using word_flow::SplitWords;
using word_flow::Word;

std::vector<Word> Widths(std::initializer_list<float> widths, float height = 20) {
    std::vector<Word> words;
    for (float w : widths) words.push_back({w, height});
    return words;
}

TEST(SplitWords, EveryWordEndsInOneSpace) {
    EXPECT_EQ(SplitWords("Are you sure?"), (std::vector<std::string>{"Are ", "you ", "sure? "}));
}

TEST(SplitWords, EachWhiteSpaceCharacterEndsAWord) {
    EXPECT_EQ(SplitWords("a\t\nb"), (std::vector<std::string>{"a ", " ", "b "}));
    EXPECT_EQ(SplitWords("a\r\v\fb"), (std::vector<std::string>{"a ", " ", " ", "b "}));
    EXPECT_EQ(SplitWords("end "), (std::vector<std::string>{"end ", " "}));
    EXPECT_EQ(SplitWords(" "), (std::vector<std::string>{" ", " "}));
}

TEST(SplitWords, EmptyTextHasNoWords) {
    EXPECT_TRUE(SplitWords("").empty());
}

TEST(WordFlow, WordsThatFitShareTheLine) {
    Band band{0, 10, 0, 100, 1};
    EXPECT_EQ(Flow(band, Widths({30, 30, 30})), (std::vector<Point>{{0, 10}, {30, 10}, {60, 10}}));
    EXPECT_EQ(band.x, 0);
    EXPECT_EQ(band.y, 30);
}

TEST(WordFlow, AWordPassingTheRightEdgeStartsTheNextLine) {
    Band band{0, 0, 0, 100, 1};
    EXPECT_EQ(Flow(band, Widths({40, 40, 40, 10})), (std::vector<Point>{{0, 0}, {40, 0}, {0, 20}, {40, 20}}));
}

TEST(WordFlow, AWordEndingExactlyAtTheRightEdgeStays) {
    Band band{0, 0, 0, 100, 1};
    EXPECT_EQ(Flow(band, Widths({60, 40, 5, 1})), (std::vector<Point>{{0, 0}, {60, 0}, {0, 20}, {5, 20}}));
}

TEST(WordFlow, AFirstWordWiderThanTheBandLeavesTheFirstLineEmpty) {
    Band band{0, 0, 0, 100, 1};
    EXPECT_EQ(Flow(band, Widths({150, 10, 10})), (std::vector<Point>{{0, 20}, {0, 40}, {10, 40}}));
}

TEST(WordFlow, AWideWordInTheMiddleStandsAloneAndSticksOut) {
    Band band{0, 0, 0, 100, 1};
    EXPECT_EQ(Flow(band, Widths({30, 150, 10, 10})),
              (std::vector<Point>{{0, 0}, {0, 20}, {0, 40}, {10, 40}}));
}

TEST(WordFlow, TheLastWordStaysOnItsLineEvenPastTheEdge) {
    Band band{0, 0, 0, 100, 1};
    EXPECT_EQ(Flow(band, Widths({60, 60})), (std::vector<Point>{{0, 0}, {60, 0}}));
    EXPECT_EQ(band.y, 20);
}

TEST(WordFlow, CentredLinesShiftByHalfTheirFreeSpace) {
    Band band{0, 0, 0, 100, 3};
    // Line one ends at 70: 30 free, shifted 15. Line two ends at 75: 25 free, shifted 12.
    EXPECT_EQ(Flow(band, Widths({40, 30, 50, 25})),
              (std::vector<Point>{{15, 0}, {55, 0}, {12, 20}, {62, 20}}));
}

TEST(WordFlow, RightAlignedLinesEndAtTheRightEdge) {
    Band band{10, 0, 10, 110, 2};
    EXPECT_EQ(Flow(band, Widths({40, 30, 50, 10})),
              (std::vector<Point>{{40, 0}, {80, 0}, {50, 20}, {100, 20}}));
}

TEST(WordFlow, ALastWordPastTheEdgeMovesACentredLineLeft) {
    Band band{0, 0, 0, 100, 3};
    EXPECT_EQ(Flow(band, Widths({70, 50})), (std::vector<Point>{{-10, 0}, {60, 0}}));
}

TEST(WordFlow, ConsecutiveCallsStartOnConsecutiveLines) {
    Band band{5, 0, 5, 200, 1};
    EXPECT_EQ(Flow(band, Widths({30, 30})), (std::vector<Point>{{5, 0}, {35, 0}}));
    EXPECT_EQ(Flow(band, Widths({30})), (std::vector<Point>{{5, 20}}));
    EXPECT_EQ(band.y, 40);
}

TEST(WordFlow, FractionalWidthsAdvanceByTheirWholePixels) {
    Band band{0, 0, 0, 100, 1};
    EXPECT_EQ(Flow(band, Widths({10.9f, 10.9f, 1}, 20.7f)), (std::vector<Point>{{0, 0}, {10, 0}, {20, 0}}));
    EXPECT_EQ(band.y, 20);
}

TEST(WordFlow, AlignmentValuesOtherThanLeftAndCentreAlignRight) {
    EXPECT_EQ(LineShift(1, 31), 0);
    EXPECT_EQ(LineShift(3, 31), 15);
    EXPECT_EQ(LineShift(3, -31), -15);
    EXPECT_EQ(LineShift(2, 31), 31);
    EXPECT_EQ(LineShift(0, 31), 31);
    EXPECT_EQ(LineShift(7, 31), 31);
}

TEST(WordFlow, NoWordsChangeNothing) {
    Band band{3, 4, 0, 100, 1};
    EXPECT_TRUE(Flow(band, {}).empty());
    EXPECT_EQ(band.x, 3);
    EXPECT_EQ(band.y, 4);
}
}  // namespace
