// Buttons: the looks cut from clip files, the look chosen by the state, the whole button drawn again
// on any change, the caption, and copies.
#include "graphics/LiveSet.h"
#include "graphics/OClip.h"
#include "tests/ui/UiFixture.h"
#include "ui/OButton.h"
#include "ui/OText.h"

namespace {
using namespace ui_test;

constexpr Colour kRed{0, 0, 255}, kGreen{0, 255, 0}, kBlue{255, 0, 0}, kGrey{128, 128, 128};

class ButtonTest : public UiTest {
  protected:
    OButton* Add(OButton* b, float x = 100, float y = 100) {
        b->SetPosition(x, y, 0);
        w->AddGraph(b);
        Frame();
        return b;
    }
    // A point of the button that its caption does not cover.
    Colour Look() const { return At(102, 102); }
};

TEST_F(ButtonTest, ThreeFramesGiveNormalHighlightAndPressedLooks) {
    const std::string clip = WriteClip("three.clp", 60, 30, {kRed, kGreen, kBlue});
    OButton* b = Add(new OButton("", clip, 0, 1, 2, false));
    EXPECT_EQ(b->Width(), 60.0f);
    EXPECT_EQ(b->Height(), 30.0f);
    EXPECT_EQ(Look(), kRed);
    Move(110, 110);
    EXPECT_EQ(Look(), kGreen);
    Press(1, 110, 110);
    EXPECT_EQ(Look(), kBlue);
    Move(300, 300);  // pressed, dragged outside: the normal look until it comes back
    EXPECT_EQ(Look(), kRed);
    Move(110, 110);
    EXPECT_EQ(Look(), kBlue);
    Release(1, 110, 110);
    EXPECT_EQ(Look(), kGreen);
}

TEST_F(ButtonTest, AFocusedButtonShowsTheHighlightAndEnterThePressedLook) {
    const std::string clip = WriteClip("three.clp", 60, 30, {kRed, kGreen, kBlue});
    OButton* b = Add(new OButton("", clip, 0, 1, 2, true));
    w->FocusGraph(b);
    EXPECT_EQ(Look(), kGreen);
    Press(13);
    EXPECT_EQ(Look(), kBlue);
    EXPECT_EQ(b->ShownLook(), 2);
    Release(13);
    EXPECT_EQ(Look(), kGreen);
    Press(1, 110, 110);
    Move(300, 300);  // pressed outside, but focused: the highlight
    EXPECT_EQ(Look(), kGreen);
}

TEST_F(ButtonTest, AOneFrameClipGivesTheSameFrameForAllThreeLooks) {
    const std::string clip = WriteClip("one.clp", 60, 30, {kGrey});
    OButton* b = Add(new OButton("", clip, 0, 1, 2, false));
    ASSERT_NE(b->NormalLook(), nullptr);
    ASSERT_NE(b->HoverLook(), nullptr);
    ASSERT_NE(b->PressedLook(), nullptr);
    EXPECT_EQ(Look(), kGrey);
    Move(110, 110);
    EXPECT_EQ(b->ShownLook(), 1);
    EXPECT_EQ(Look(), kGrey);
    Press(1, 110, 110);
    EXPECT_EQ(b->ShownLook(), 2);
    EXPECT_EQ(Look(), kGrey);
}

TEST_F(ButtonTest, OfATwoFrameClipTheSecondFrameIsBothHighlightAndPressedLook) {
    const std::string clip = WriteClip("two.clp", 60, 30, {kRed, kGreen});
    OButton* b = Add(new OButton("", clip, 0, 1, 2, false));
    EXPECT_EQ(Look(), kRed);
    Move(110, 110);
    EXPECT_EQ(Look(), kGreen);
    Press(1, 110, 110);
    EXPECT_EQ(b->ShownLook(), 2);
    EXPECT_EQ(Look(), kGreen);
}

TEST_F(ButtonTest, AMissingClipFallsBackToTheDefault) {
    const std::string fallback = WriteClip("default.clp", 50, 20, {kBlue, kGreen, kRed});
    Add(new OButton("", (folder.Path() / "missing.clp").string(), 0, 1, 2, false, fallback));
    EXPECT_EQ(Look(), kBlue);
}

TEST_F(ButtonTest, WithoutAnyFramesTheButtonIs60By30) {
    OButton* b = new OButton("", "", 0, 1, 2, false, (folder.Path() / "none.clp").string());
    EXPECT_EQ(b->Width(), 60.0f);
    EXPECT_EQ(b->Height(), 30.0f);
    EXPECT_EQ(b->NormalLook(), nullptr);
    EXPECT_EQ(b->ShownLook(), -1);
    Add(b);
    Move(110, 110);
    Press(1, 110, 110);
    Release(1, 110, 110);
    EXPECT_EQ(EventsOf(b).back(), ControlEvent::Click);
}

TEST_F(ButtonTest, TheWholeButtonIsDrawnAgainOnAnyChange) {
    const std::string clip = WriteClip("three.clp", 60, 30, {kRed, kGreen, kBlue});
    OButton* b = Add(new OButton("", clip, 0, 1, 2, false));
    Move(110, 110);
    const ORect whole = b->Bounds();
    ASSERT_FALSE(w->LastDrawn().empty());
    ORect drawn = w->LastDrawn()[0];
    for (const ORect& r : w->LastDrawn()) {
        drawn.left = std::min(drawn.left, r.left);
        drawn.top = std::min(drawn.top, r.top);
        drawn.right = std::max(drawn.right, r.right);
        drawn.bottom = std::max(drawn.bottom, r.bottom);
    }
    EXPECT_EQ(drawn.left, whole.left);
    EXPECT_EQ(drawn.top, whole.top);
    EXPECT_EQ(drawn.right, whole.right);
    EXPECT_EQ(drawn.bottom, whole.bottom);
}

TEST_F(ButtonTest, TheCaptionIsCentredInTheButtonOverItsLook) {
    const std::string clip = WriteClip("wide.clp", 120, 40, {kGrey, kGrey, kGrey});
    OButton* b = Add(new OButton("Play", clip, 0, 1, 2, false));
    OText* caption = b->Caption();
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(b->GetText(), "Play");
    EXPECT_EQ(caption->Font().height, 28);
    EXPECT_EQ(caption->Font().weight, 400);
    EXPECT_GT(caption->Width(), 0.0f);
    EXPECT_FLOAT_EQ(caption->LocalX(), (120.0f - caption->Width()) * 0.5f);
    EXPECT_FLOAT_EQ(caption->LocalY(), (40.0f - caption->Height()) * 0.5f);
    int dark = 0;
    for (int y = 100; y < 140; ++y)
        for (int x = 100; x < 220; ++x) dark += At(x, y)[0] < 40;
    EXPECT_GT(dark, 30) << "the caption is drawn over the look";
    b->SetText("Go");
    EXPECT_EQ(b->GetText(), "Go");
}

TEST_F(ButtonTest, ButtonsFromThreeFilesTakeDefaultFramesForFilesThatDoNotLoad) {
    const std::string fallback = WriteClip("default.clp", 60, 30, {kRed, kGreen, kBlue});
    const std::string grey = WriteClip("grey.clp", 60, 30, {kGrey});
    const std::string missing = (folder.Path() / "missing.clp").string();
    OButton* b = Add(new OButton("", missing, grey, missing, false, fallback));
    EXPECT_EQ(b->Caption()->Font().height, 36);
    EXPECT_EQ(Look(), kRed);
    Move(110, 110);
    EXPECT_EQ(Look(), kGrey);
    Press(1, 110, 110);
    EXPECT_EQ(Look(), kBlue);
}

TEST_F(ButtonTest, AnAbsentHighlightOrPressedFileLeavesThatLookEmpty) {
    const std::string fallback = WriteClip("default.clp", 60, 30, {kRed, kGreen, kBlue});
    OButton* b = Add(new OButton("", "", "", "", false, fallback));
    ASSERT_NE(b->HoverLook(), nullptr);
    EXPECT_EQ(b->NormalLook()->FrameCount(), 1);
    EXPECT_EQ(b->HoverLook()->FrameCount(), 0);
    EXPECT_EQ(b->PressedLook()->FrameCount(), 0);
    EXPECT_EQ(Look(), kRed);
}

TEST_F(ButtonTest, AOneFrameDefaultServesEveryLookThatFails) {
    const std::string fallback = WriteClip("default.clp", 60, 30, {kGreen});
    const std::string missing = (folder.Path() / "missing.clp").string();
    OButton* b = Add(new OButton("", missing, missing, missing, false, fallback));
    for (OClip* look : {b->NormalLook(), b->HoverLook(), b->PressedLook()}) EXPECT_EQ(look->FrameCount(), 1);
    Move(110, 110);
    Press(1, 110, 110);
    EXPECT_EQ(Look(), kGreen);
}

TEST_F(ButtonTest, ACloneHasItsOwnLooksAndCaptionSharingThePixels) {
    const std::string clip = WriteClip("three.clp", 60, 30, {kRed, kGreen, kBlue});
    auto* source = new OButton("Yes", clip, 0, 1, 2, true);
    source->SetSounds("WAV\\over.wav", "WAV\\over.wav");
    auto* copy = dynamic_cast<OButton*>(static_cast<OGraph*>(source)->Clone());
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy->NormalLook(), nullptr);
    EXPECT_NE(copy->NormalLook(), source->NormalLook());
    ASSERT_NE(copy->Caption(), nullptr);
    EXPECT_EQ(copy->GetText(), "Yes");
    EXPECT_TRUE(copy->IsFocusable());
    Add(copy, 300, 100);
    EXPECT_EQ(At(302, 102), kRed);
    Move(310, 110);
    EXPECT_EQ(At(302, 102), kGreen);
    source->Destroy();
    EXPECT_TRUE(IsLive(source)) << "kept for its copy";
    copy->Destroy();
    EXPECT_FALSE(IsLive(source));
}

TEST_F(ButtonTest, HidingTheButtonUncoversItsWholeArea) {
    const std::string clip = WriteClip("three.clp", 60, 30, {kRed, kGreen, kBlue});
    OButton* b = Add(new OButton("Go", clip, 0, 1, 2, false));
    b->SetVisible(false);
    Frame();
    EXPECT_EQ(Look(), kPond);
    EXPECT_EQ(At(130, 115), kPond);
    b->SetVisible(true);
    Frame();
    EXPECT_EQ(Look(), kRed);
}

}  // namespace
