// Running text laid out word by word in the window's real font.
#include "tests/ui/UiFixture.h"
#include "ui/OLongText.h"
#include "ui/OText.h"

namespace {
using namespace ui_test;

class LongTextTest : public UiTest {
  protected:
    int Width(const std::string& s, int height) {
        graphics::FontRecord f;
        f.height = height;
        return w->TextWidth(s, f);
    }
};

TEST_F(LongTextTest, ARecordStartsAtTheTopLeftOfTheWholeWindow) {
    OLongText record(w);
    EXPECT_EQ(record.x, 0);
    EXPECT_EQ(record.y, 0);
    EXPECT_EQ(record.left, 0);
    EXPECT_EQ(record.right, static_cast<int>(w->ClientWidth()));
    EXPECT_EQ(record.bottom, static_cast<int>(w->ClientHeight()));
    EXPECT_EQ(record.font.height, 18);
    EXPECT_EQ(record.font.face, "Arial");
    EXPECT_EQ(record.align, 1);
}

TEST_F(LongTextTest, AreYouSureIsCentredAsOneLineIn280Pixels) {
    OLongText record(w);
    record.y = 37;
    record.right = 280;
    record.font.height = 28;
    record.align = 3;
    const std::vector<OText*> words = record.LayOut("Are you sure?");
    ASSERT_EQ(words.size(), 3u);
    const int total = Width("Are ", 28) + Width("you ", 28) + Width("sure? ", 28);
    ASSERT_LT(total, 280);
    EXPECT_EQ(words[0]->X(), static_cast<float>((280 - total) / 2));
    EXPECT_EQ(words[1]->X(), words[0]->X() + static_cast<float>(Width("Are ", 28)));
    EXPECT_EQ(words[2]->X(), words[1]->X() + static_cast<float>(Width("you ", 28)));
    for (OText* word : words) EXPECT_EQ(word->Y(), 37.0f);
    EXPECT_EQ(words[2]->GetText(), "sure? ");
    EXPECT_EQ(record.x, 0);
    EXPECT_EQ(record.y, 37 + 28);
}

TEST_F(LongTextTest, AFirstWordWiderThanTheBandLeavesTheFirstLineEmpty) {
    OLongText record(w);
    record.right = 100;
    const std::vector<OText*> words = record.LayOut("Extraordinarily odd words");
    ASSERT_EQ(words.size(), 3u);
    ASSERT_GT(Width("Extraordinarily ", 18), 100);
    EXPECT_EQ(words[0]->X(), 0.0f);
    EXPECT_EQ(words[0]->Y(), 18.0f);
    EXPECT_EQ(words[1]->Y(), 36.0f) << "the word after a wide one starts the next line";
    EXPECT_EQ(words[2]->Y(), 36.0f);
}

TEST_F(LongTextTest, TwoLayoutsOnOneRecordGoOnConsecutiveLines) {
    OLongText record(w);
    record.left = record.x = 20;
    const std::vector<OText*> first = record.LayOut("First line");
    const std::vector<OText*> second = record.LayOut("Second");
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(first[0]->Y(), 0.0f);
    EXPECT_EQ(second[0]->Y(), 18.0f);
    EXPECT_EQ(second[0]->X(), 20.0f);
}

TEST_F(LongTextTest, LongTextWrapsAtTheRightEdgeAndAlignsRight) {
    OLongText record(w);
    record.right = 150;
    record.align = 2;
    const std::vector<OText*> words = record.LayOut("one two three four five six seven");
    float lastY = -1;
    int lines = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i]->Y() != lastY) {
            ++lines;
            lastY = words[i]->Y();
        }
        const bool lineEnd = i + 1 == words.size() || words[i + 1]->Y() != words[i]->Y();
        if (lineEnd) {
            EXPECT_EQ(static_cast<int>(words[i]->X() + words[i]->Width()), 150) << words[i]->GetText();
        }
    }
    EXPECT_GE(lines, 2);
}

TEST_F(LongTextTest, TheWordsAreDrawnInTheWindow) {
    OLongText record(w);
    record.y = 50;
    record.LayOut("Pond");
    Frame();
    int ink = 0;
    for (int y = 50; y < 68; ++y)
        for (int x = 0; x < 60; ++x) ink += At(x, y) != kPond;
    EXPECT_GT(ink, 20);
}

TEST_F(LongTextTest, AnEmptyTextOrNoWindowLaysOutNothing) {
    OLongText record(w);
    EXPECT_TRUE(record.LayOut("").empty());
    EXPECT_EQ(record.y, 0);
    OLongText nowhere(nullptr);
    EXPECT_TRUE(nowhere.LayOut("words").empty());
}

TEST_F(LongTextTest, EveryWhiteSpaceCharacterEndsAWord) {
    OLongText record(w);
    const std::vector<OText*> words = record.LayOut("a\t\nb");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[1]->GetText(), " ");
    EXPECT_EQ(words[1]->Width(), static_cast<float>(Width(" ", 18)));
}

}  // namespace
