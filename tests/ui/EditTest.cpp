// Edit fields with the generated default look (200 x 36): the caption box and the caret, the keys,
// typing past the box, and a click placing the caret.
#include "engine/VirtualKey.h"
#include "graphics/LiveSet.h"
#include "graphics/OClip.h"
#include "tests/ui/UiFixture.h"
#include "ui/OEdit.h"
#include "ui/OText.h"

namespace {
using namespace ui_test;

using namespace vk;

class EditTest : public UiTest {
  protected:
    OEdit* Add(const std::string& text) {
        auto* e = new OEdit(text, "", 0, 1, 2, true);
        e->SetPosition(100, 100, 0);
        w->AddGraph(e);
        Frame();
        return e;
    }
    // The caret's x relative to the caption's left edge.
    static int CaretX(const OEdit* e) {
        return static_cast<int>(e->Caret()->LocalX() - e->Caption()->LocalX());
    }
    // Whether the caret bar shows on screen (its middle pixel black).
    bool CaretOnScreen(const OEdit* e) const {
        return At(static_cast<int>(e->Caret()->X()) + 1, 118) == Colour{0, 0, 0};
    }
};

TEST_F(EditTest, TheCaptionIsABoxAsHighAsTheTextCentredInTheField) {
    OEdit* e = Add("Anna");
    OText* caption = e->Caption();
    const float h = static_cast<float>(w->TextHeight("Anna", caption->Font()));
    EXPECT_FALSE(caption->AutoSize());
    EXPECT_EQ(caption->Height(), h);
    EXPECT_EQ(caption->Width(), 200.0f - (36.0f - h));
    EXPECT_FLOAT_EQ(caption->LocalX(), (36.0f - h) * 0.5f);
    EXPECT_FLOAT_EQ(caption->LocalY(), (36.0f - h) * 0.5f);
    EXPECT_EQ(e->Cursor(), 4) << "the caret starts at the end";
}

TEST_F(EditTest, TheCaretIsTwoThreePixelFramesAtFourFramesASecond) {
    OEdit* e = Add("");
    OClip* caret = e->Caret();
    ASSERT_NE(caret, nullptr);
    EXPECT_EQ(caret->FrameRate(), 4);
    ASSERT_EQ(caret->FrameCount(), 2);
    for (OGraph* frame : caret->Children()) {
        EXPECT_EQ(frame->Width(), 3.0f);
        EXPECT_EQ(frame->Height(), e->Caption()->Height());
    }
    EXPECT_EQ(caret->Children()[0]->ColourKey(), 1u) << "the bar: no pixel is transparent";
    EXPECT_EQ(caret->Children()[1]->ColourKey(), 0u) << "the gap: every pixel is transparent";
    EXPECT_EQ(e->Children()[4], caret) << "the caret is the fifth child";
}

TEST_F(EditTest, TheCaretShowsOnlyWhileTheFieldHasTheFocusAndBlinks) {
    OEdit* e = Add("Bo");
    EXPECT_FALSE(e->Caret()->IsVisible());
    Frames(30);
    EXPECT_FALSE(CaretOnScreen(e));
    w->FocusGraph(e);
    EXPECT_TRUE(e->Caret()->IsVisible());
    Frame();
    EXPECT_TRUE(CaretOnScreen(e));
    int on = 0, off = 0;
    for (int i = 0; i < 100; ++i) {
        Frame();
        (CaretOnScreen(e) ? on : off) += 1;
    }
    // Two seconds at 50 frames: the bar and the gap take turns (a frame at least every 250 ms, as
    // the field steps its children 10 times a second, every 300 ms).
    EXPECT_GE(on, 30);
    EXPECT_GE(off, 30);
    w->FocusGraph(nullptr);
    Frame();
    EXPECT_FALSE(e->Caret()->IsVisible());
    EXPECT_FALSE(CaretOnScreen(e));
}

TEST_F(EditTest, BackspaceAtTheStartAndDeleteAtTheEndChangeNothing) {
    OEdit* e = Add("Abc");
    w->FocusGraph(e);
    Key(kHome);
    Key(kBackspace);
    EXPECT_EQ(e->GetText(), "Abc");
    EXPECT_EQ(e->Cursor(), 0);
    Key(kEnd);
    Key(kDelete);
    EXPECT_EQ(e->GetText(), "Abc");
    EXPECT_EQ(e->Cursor(), 3);
}

TEST_F(EditTest, BackspaceAndDeleteRemoveTheCharacterBeforeAndAtTheCaret) {
    OEdit* e = Add("Abcd");
    w->FocusGraph(e);
    Key(kLeft);
    Key(kLeft);  // between b and c
    Key(kBackspace);
    EXPECT_EQ(e->GetText(), "Acd");
    EXPECT_EQ(e->Cursor(), 1);
    Key(kDelete);
    EXPECT_EQ(e->GetText(), "Ad");
    EXPECT_EQ(e->Cursor(), 1);
    EXPECT_EQ(CaretX(e), w->TextWidth("A", e->Caption()->Font()));
}

TEST_F(EditTest, HomeEndLeftAndRightMoveTheCaretWithinTheText) {
    OEdit* e = Add("Ab");
    w->FocusGraph(e);
    Key(kRight);
    EXPECT_EQ(e->Cursor(), 2);
    Key(kHome);
    Key(kLeft);
    EXPECT_EQ(e->Cursor(), 0);
    EXPECT_EQ(CaretX(e), 0);
    Key(kRight);
    EXPECT_EQ(e->Cursor(), 1);
    EXPECT_EQ(CaretX(e), w->TextWidth("A", e->Caption()->Font()));
    Key(kEnd);
    EXPECT_EQ(e->Cursor(), 2);
}

TEST_F(EditTest, TypingInsertsAtTheCaretAndIgnoresControlCharacters) {
    OEdit* e = Add("");
    w->FocusGraph(e);
    Type("Ann");
    Key(kLeft);
    Type("i");
    Type("\x1b\t\r");
    EXPECT_EQ(e->GetText(), "Anin");
    EXPECT_EQ(e->Cursor(), 3);
    w->OnChar(0xE9);  // Windows-1252 e acute
    EXPECT_EQ(e->GetText(), "Ani\xE9n");
}

TEST_F(EditTest, TypingPastTheBoxScrollsSoTheCaretStaysVisibleAndHomeScrollsBack) {
    OEdit* e = Add("");
    OText* caption = e->Caption();
    w->FocusGraph(e);
    const std::string name = "Maximiliana Wolfensteiner";
    ASSERT_GT(w->TextWidth(name, caption->Font()), caption->Width());
    for (char c : name) {
        Type(std::string(1, c));
        EXPECT_GE(CaretX(e), 0);
        EXPECT_LE(CaretX(e), caption->Width()) << "after " << e->GetText();
    }
    EXPECT_EQ(e->GetText(), name);
    EXPECT_GT(caption->FirstVisible(), 0);
    Frame();
    Key(kHome);
    EXPECT_EQ(caption->FirstVisible(), 0);
    EXPECT_EQ(CaretX(e), 0);
    Key(kEnd);
    EXPECT_GT(caption->FirstVisible(), 0);
    EXPECT_LE(CaretX(e), caption->Width());
}

TEST_F(EditTest, RightPastTheLastVisibleCharacterScrollsByTheDistance) {
    OEdit* e = Add("Maximiliana Wolfensteiner");
    OText* caption = e->Caption();
    w->FocusGraph(e);
    Key(kHome);
    const int last = caption->LastVisible();
    for (int i = 0; i < last; ++i) Key(kRight);
    EXPECT_EQ(caption->FirstVisible(), 0);
    Key(kRight);
    EXPECT_EQ(caption->FirstVisible(), 1);
    Key(kLeft);
    EXPECT_EQ(caption->FirstVisible(), 1) << "inside the box again: no scroll";
}

TEST_F(EditTest, AClickPlacesTheCaretAtTheCharacterUnderTheMouse) {
    OEdit* e = Add("Wolf");
    OText* caption = e->Caption();
    const int left = 100 + static_cast<int>(caption->LocalX());
    const int wo = w->TextWidth("Wo", caption->Font());
    Move(left + wo + 1, 118);
    Press(1, left + wo + 1, 118);
    Release(1, left + wo + 1, 118);
    EXPECT_EQ(e->Cursor(), 2);
    EXPECT_EQ(w->Focus(), e);
    Press(1, 101, 118);  // left of the text box
    Release(1, 101, 118);
    EXPECT_EQ(e->Cursor(), 0);
    Press(1, 290, 118);  // right of the text
    Release(1, 290, 118);
    EXPECT_EQ(e->Cursor(), 4);
}

TEST_F(EditTest, TheTypedTextIsDrawnInTheField) {
    OEdit* e = Add("");
    w->FocusGraph(e);
    Frame();
    auto dark = [&] {
        int n = 0;
        for (int y = 104; y < 132; ++y)
            for (int x = 108; x < 290; ++x) n += At(x, y)[1] < 60;
        return n;
    };
    const int before = dark();
    Type("Tom");
    Frame();
    EXPECT_GT(dark(), before + 50);
}

TEST_F(EditTest, AFieldLowerThanTwoPixelsGetsAnEmptyBoxNotANegativeOne) {
    const std::string flat = WriteClip("flat.clp", 10, 1, {Colour{128, 128, 128}});
    auto* e = new OEdit("abc", flat, 0, 1, 2, true);
    w->AddGraph(e);
    w->FocusGraph(e);
    Type("d");
    Frame();
    EXPECT_EQ(e->Caption()->Height(), 0.0f);
    EXPECT_GE(e->Caption()->Width(), 0.0f);
    EXPECT_EQ(e->GetText(), "abcd");
}

TEST_F(EditTest, ACloneIsAnEditFieldWithItsOwnCaret) {
    auto* source = new OEdit("Eve", "", 0, 1, 2, true);
    auto* copy = dynamic_cast<OEdit*>(static_cast<OGraph*>(source)->Clone());
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy->Caret(), nullptr);
    EXPECT_NE(copy->Caret(), source->Caret());
    EXPECT_EQ(copy->GetText(), "Eve");
    copy->SetPosition(100, 100, 0);
    w->AddGraph(copy);
    w->FocusGraph(copy);
    Type("s");
    EXPECT_EQ(copy->GetText(), "Eves");
    EXPECT_EQ(copy->Caret()->FrameCount(), 2);
    source->Destroy();
}

}  // namespace
