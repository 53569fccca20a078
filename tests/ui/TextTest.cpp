// Text objects measured and drawn with the real font (Liberation Sans for "Arial"), so the sizes hold
// on any machine with the project's dependencies.
#include "graphics/LiveSet.h"
#include "tests/ui/UiFixture.h"
#include "ui/OText.h"

namespace {
using namespace ui_test;

class TextTest : public UiTest {
  protected:
    OText* Add(const std::string& s, float x = 100, float y = 100) {
        auto* t = new OText(s);
        t->SetPosition(x, y, 0);
        w->AddGraph(t);
        Frame();
        return t;
    }
    int Width(const std::string& s) { return w->TextWidth(s, graphics::FontRecord{}); }
    int Ink(int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += At(x, y) != kPond;
        return n;
    }
};

TEST_F(TextTest, AttachingMeasuresTheTextInItsFont) {
    auto* t = new OText("Marshwade");
    EXPECT_EQ(t->Width(), 0.0f) << "not attached: nothing to measure with";
    t->SetPosition(10, 10, 0);
    w->AddGraph(t);
    EXPECT_EQ(t->TextWidth(), static_cast<float>(Width("Marshwade")));
    EXPECT_EQ(t->Width(), t->TextWidth());
    EXPECT_EQ(t->Height(), 32.0f) << "the default font: a cell 32 pixels high";
    EXPECT_GT(t->Width(), 100.0f);
}

TEST_F(TextTest, WithAutoSizeTheMeasuredSizeIsKeptWhateverSizeIsAsked) {
    OText* t = Add("Frog");
    const float width = t->Width(), height = t->Height();
    t->SetSize(500, 400, 0);
    EXPECT_EQ(t->Width(), width);
    EXPECT_EQ(t->Height(), height);
    t->SetAutoSize(false);
    t->SetSize(50, 20, 0);
    EXPECT_EQ(t->Width(), 50.0f);
    EXPECT_EQ(t->Height(), 20.0f);
}

TEST_F(TextTest, SettingTextMeasuresAgainAndRedrawsIt) {
    OText* t = Add("Hi");
    const int before = Ink(100, 100, 400, 132);
    t->SetText("Hello there");
    Frame();
    EXPECT_EQ(t->Width(), static_cast<float>(Width("Hello there")));
    EXPECT_GT(Ink(100, 100, 400, 132), before);
}

TEST_F(TextTest, AnEmptyTextIsZeroWideAndDrawsNothing) {
    OText* t = Add("");
    EXPECT_EQ(t->Width(), 0.0f);
    EXPECT_EQ(t->GetText(), "");
    EXPECT_EQ(Ink(90, 90, 200, 140), 0);
    t->SetAutoSize(false);
    t->SetSize(80, 30, 0);
    Frame();
    EXPECT_EQ(Ink(90, 90, 200, 140), 0);
}

TEST_F(TextTest, CharacterGeometryComesFromWholePrefixes) {
    OText* t = Add("AVATAR");
    for (int i = 0; i < 6; ++i) {
        const OText::CharBox box = t->CharGeometry(i);
        EXPECT_EQ(box.startX, Width(std::string("AVATAR").substr(0, static_cast<size_t>(i))));
        EXPECT_EQ(box.endX, Width(std::string("AVATAR").substr(0, static_cast<size_t>(i) + 1)));
        EXPECT_EQ(box.top, 0);
        EXPECT_EQ(box.bottom, 32);
    }
    const OText::CharBox end = t->CharGeometry(6);
    EXPECT_EQ(end.startX, Width("AVATAR"));
    EXPECT_EQ(end.endX, end.startX);
    const OText::CharBox none = t->CharGeometry(-1);
    EXPECT_EQ(none.startX, 0);
    EXPECT_EQ(none.endX, 0);
    EXPECT_EQ(none.bottom, 32);
}

TEST_F(TextTest, GeometryWithoutAWindowIsZero) {
    auto* t = new OText("Loose");
    EXPECT_EQ(t->CharGeometry(2).endX, 0);
    EXPECT_EQ(t->CharAt(10), 0);
    EXPECT_EQ(t->LastVisible(), 0);
    t->SetFirstVisible(2);
    EXPECT_EQ(t->FirstVisible(), 0) << "ignored while not attached";
    t->Destroy();
}

TEST_F(TextTest, TheFirstVisibleCharacterScrollsTheGeometryAndTheDrawing) {
    OText* t = Add("Scroll");
    t->SetFirstVisible(2);
    EXPECT_EQ(t->FirstVisible(), 2);
    EXPECT_EQ(t->CharGeometry(2).startX, 0);
    EXPECT_EQ(t->CharGeometry(0).startX, -Width("Sc"));
    EXPECT_EQ(t->CharAt(0), 2);
    EXPECT_EQ(t->CharAt(-1), 0);
    Frame();
    const std::vector<uint8_t> scrolled(w->GetPicture()->Row(131), w->GetPicture()->Row(100) + 3 * 1024);
    // The same picture as the text "roll" drawn at the same place.
    t->Destroy();
    Frame();
    OText* tail = Add("roll");
    (void)tail;
    const std::vector<uint8_t> plain(w->GetPicture()->Row(131), w->GetPicture()->Row(100) + 3 * 1024);
    EXPECT_EQ(scrolled, plain);
}

TEST_F(TextTest, SetFirstVisibleIgnoresIndexesOutsideTheText) {
    OText* t = Add("Four");
    for (int index : {-1, 4, 9}) {
        t->SetFirstVisible(index);
        EXPECT_EQ(t->FirstVisible(), 0);
    }
    t->SetFirstVisible(3);
    EXPECT_EQ(t->FirstVisible(), 3);
}

TEST_F(TextTest, CharAtFindsTheCharacterUnderX) {
    OText* t = Add("Wolf");
    EXPECT_EQ(t->CharAt(0), 0);
    EXPECT_EQ(t->CharAt(Width("W")), 1);
    EXPECT_EQ(t->CharAt(Width("Wo") - 1), 1);
    EXPECT_EQ(t->CharAt(Width("Wolf")), 4);
    EXPECT_EQ(t->CharAt(5000), 4);
}

TEST_F(TextTest, LastVisibleIsTheLastCharacterEndingInsideTheBox) {
    OText* t = Add("Wolfenstein");
    t->SetAutoSize(false);
    t->SetSize(static_cast<float>(Width("Wolf")) + 1, 32, 0);
    EXPECT_EQ(t->LastVisible(), 3);
    t->SetSize(static_cast<float>(Width("Wolf")), 32, 0);
    EXPECT_EQ(t->LastVisible(), 2) << "ending on the edge is not inside";
    t->SetFirstVisible(2);
    const std::string text = "Wolfenstein";
    int expected = 2;
    while (Width(text.substr(0, static_cast<size_t>(expected) + 2)) - Width("Wo") < Width("Wolf")) ++expected;
    EXPECT_EQ(t->LastVisible(), expected);
    EXPECT_GT(expected, 3);
}

TEST_F(TextTest, TheSelectionIsDrawnInverted) {
    OText* t = Add("Selected");
    auto white = [&] {
        int n = 0;
        for (int y = 100; y < 132; ++y)
            for (int x = 100; x < 300; ++x) n += At(x, y) == Colour{255, 255, 255};
        return n;
    };
    EXPECT_EQ(white(), 0);
    t->SetSelection(2, 5);
    Frame();
    EXPECT_GT(white(), 50);
    EXPECT_EQ(At(100 + Width("Se") + 1, 101), (Colour{0, 0, 0})) << "a box of the font colour";
}

TEST_F(TextTest, ACloneHasTheTextFontAndSize) {
    OText* t = Add("Copy");
    graphics::FontRecord big;
    big.height = 40;
    t->SetFont(big);
    auto* copy = dynamic_cast<OText*>(t->Clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetText(), "Copy");
    EXPECT_EQ(copy->Font().height, 40);
    EXPECT_EQ(copy->Width(), t->Width());
    EXPECT_EQ(copy->Height(), 40.0f);
    EXPECT_TRUE(copy->AutoSize());
    copy->Destroy();
}

TEST_F(TextTest, ATextThatBecomesShorterThanItsScrollStillShowsItsEnd) {
    OText* t = Add("Longer");
    t->SetFirstVisible(5);
    t->SetText("Lo");
    EXPECT_EQ(t->FirstVisible(), 1);
    t->SetText("");
    EXPECT_EQ(t->FirstVisible(), 0);
}

}  // namespace
