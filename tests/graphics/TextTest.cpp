#include <gtest/gtest.h>

#include <cstring>

#include "graphics/FontRecord.h"
#include "tests/graphics/ClipsFixture.h"

namespace {

using namespace clips_test;

// Counts of the kinds of pixel found in a rectangle of the window's picture.
struct Census {
    int background = 0;  // untouched pond colour
    int font = 0;        // exactly the font colour (black)
    int inverse = 0;     // exactly the inverse colour (white)
    int other = 0;       // anti-aliased edges
    int greyOrBox = 0;   // on the selection box: black, white or a grey between them
};

class TextTest : public ClipsWindowTest {
  protected:
    Census Count(int left, int top, int right, int bottom) const {
        Census c;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                const Colour p = At(x, y);
                if (p == kPond)
                    ++c.background;
                else if (p == Colour{0, 0, 0})
                    ++c.font;
                else if (p == Colour{255, 255, 255})
                    ++c.inverse;
                else
                    ++c.other;
                if (p[0] == p[1] && p[1] == p[2]) ++c.greyOrBox;
            }
        return c;
    }
    std::vector<uint8_t> Snapshot() const {
        const OffscreenPicture* p = w->GetPicture();
        return {p->Bits(), p->Bits() + static_cast<size_t>(p->Stride()) * static_cast<size_t>(p->Height())};
    }
    void Clear() { w->FillBackground({0, 0, 1024, 768}); }

    graphics::FontRecord font;  // "Arial", black, cell height 32
    const ORect everywhere{0, 0, 1024, 768};
};

TEST_F(TextTest, SelectionTwoToFiveOfAnonymousIsInverseOnABoxAndTheRestInTheFontColour) {
    const int x = 20, y = 30;
    const int p2 = w->TextWidth("An", font), p5 = w->TextWidth("Anony", font);
    const int all = w->TextWidth("Anonymous", font), h = w->TextHeight("Anonymous", font);
    ASSERT_GT(p2, 0);
    ASSERT_LT(p2, p5);
    ASSERT_LT(p5, all);
    EXPECT_EQ(h, 32) << "a positive height is the cell height";
    w->DrawText("Anonymous", font, x, y, everywhere, 2, 5);

    const Census before = Count(x, y, x + p2, y + h);
    EXPECT_GT(before.background, 0) << "\"An\" is drawn on the existing picture";
    EXPECT_GT(before.font, 0);
    EXPECT_EQ(before.inverse, 0);
    const Census selection = Count(x + p2, y, x + p5, y + h);
    EXPECT_EQ(selection.background, 0) << "\"ony\" stands on a box over its whole cell";
    EXPECT_EQ(selection.greyOrBox, (p5 - p2) * h) << "only the font colour, its inverse and greys between";
    EXPECT_GT(selection.inverse, 0);
    EXPECT_GT(selection.font, selection.inverse) << "the box in the font colour, the letters inverse";
    const Census after = Count(x + p5, y, x + all, y + h);
    EXPECT_GT(after.background, 0) << "\"mous\" is drawn on the existing picture";
    EXPECT_GT(after.font, 0);
    EXPECT_EQ(after.inverse, 0);
    const Census beyond = Count(x + all, y, x + all + 20, y + h);
    EXPECT_EQ(beyond.background, 20 * h);
}

TEST_F(TextTest, ReversedSelectionEndsDrawTheSame) {
    w->DrawText("Anonymous", font, 20, 30, everywhere, 2, 5);
    const auto forward = Snapshot();
    Clear();
    w->DrawText("Anonymous", font, 20, 30, everywhere, 5, 2);
    EXPECT_TRUE(Snapshot() == forward);
}

TEST_F(TextTest, EqualSelectionEndsShowNoSelectionWhereverTheyLie) {
    w->DrawText("Anonymous", font, 20, 30, everywhere, 0, 0);
    const auto plain = Snapshot();
    for (int caret : {3, 9, 40, -4}) {
        Clear();
        w->DrawText("Anonymous", font, 20, 30, everywhere, caret, caret);
        EXPECT_TRUE(Snapshot() == plain) << caret;
    }
    const Census c = Count(20, 30, 20 + w->TextWidth("Anonymous", font), 62);
    EXPECT_EQ(c.inverse, 0);
}

TEST_F(TextTest, SelectionBeyondTheEndIsClampedToTheText) {
    w->DrawText("Anonymous", font, 20, 30, everywhere, 5, 100);
    const auto clamped = Snapshot();
    Clear();
    w->DrawText("Anonymous", font, 20, 30, everywhere, 5, 9);
    EXPECT_TRUE(Snapshot() == clamped);
}

TEST_F(TextTest, NothingIsDrawnOutsideTheClipRectangle) {
    const int all = w->TextWidth("Anonymous", font);
    const ORect clip{20 + all / 2, 30, 20 + all, 40};
    w->DrawText("Anonymous", font, 20, 30, clip, 0, 9);
    EXPECT_EQ(Count(0, 0, clip.left, 100).background, clip.left * 100);
    EXPECT_EQ(Count(clip.left, 40, clip.right, 100).background, (clip.right - clip.left) * 60);
    EXPECT_EQ(Count(clip.left, clip.top, clip.right, clip.bottom).background, 0) << "the box fills the clip";
}

TEST_F(TextTest, MeasuresFollowTheFontRecord) {
    EXPECT_EQ(w->TextWidth("", font), 0);
    EXPECT_EQ(w->TextHeight("", font), 32) << "an empty text still has the cell height";
    const int regular = w->TextWidth("Anonymous", font);
    graphics::FontRecord bold = font;
    bold.weight = 800;
    EXPECT_GT(w->TextWidth("Anonymous", bold), regular);
    graphics::FontRecord small = font;
    small.height = 16;
    EXPECT_LT(w->TextWidth("Anonymous", small), regular);
    EXPECT_EQ(w->TextHeight("Anonymous", small), 16);
    EXPECT_EQ(w->TextWidth("Anony", font) + w->TextWidth("mous", font), regular)
        << "parts drawn one after the other line up with the whole";
}

TEST_F(TextTest, EmptyTextDrawsNothing) {
    const auto before = Snapshot();
    w->DrawText("", font, 20, 30, everywhere, 0, 3);
    EXPECT_TRUE(Snapshot() == before);
}

TEST_F(TextTest, FontColourIsAWindowsColourValue) {
    font.colour = 0x0000FF;  // red
    w->DrawText("IIII", font, 20, 30, everywhere, 0, 0);
    bool red = false;
    for (int y = 30; y < 62 && !red; ++y)
        for (int x = 20; x < 20 + w->TextWidth("IIII", font); ++x)
            if (At(x, y) == Colour{0, 0, 255}) red = true;
    EXPECT_TRUE(red);
}

}  // namespace
