// The state and event machine of the controls, driven through the window's input routing, with the
// generated default button look.
#include "engine/OWindow.h"
#include "graphics/LiveSet.h"
#include "tests/ui/UiFixture.h"
#include "ui/OButton.h"
#include "ui/OCheckbox.h"

namespace {
using namespace ui_test;
using E = ControlEvent;
using S = ControlState;
using Events = std::vector<int>;

class ControlTest : public UiTest {
  protected:
    OButton* AddButton(float x, float y, bool focusable = true) {
        auto* b = new OButton("", "", 0, 1, 2, focusable);
        b->SetPosition(x, y, 0);
        b->SetSounds("WAV\\over.wav", "WAV\\bell.wav");
        w->AddGraph(b);
        return b;
    }
};

TEST_F(ControlTest, PressThenReleaseOutsideGivesButtonDownMouseLeaveButtonUpAndNoClick) {
    OButton* b = AddButton(100, 100, false);
    Move(110, 110);
    Press(1, 110, 110);
    Move(400, 400);
    EXPECT_EQ(w->Capture(), b) << "a pressed control keeps the capture outside";
    Release(1, 400, 400);
    // The capture is taken before the hover bit is set, so CaptureIn comes first.
    EXPECT_EQ(EventsOf(b), (Events{E::CaptureIn, E::MouseEnter, E::ButtonDown, E::MouseLeave, E::ButtonUp}));
    Move(401, 400);
    EXPECT_EQ(w->Capture(), nullptr);
    EXPECT_EQ(EventsOf(b).back(), E::CaptureOut);
}

TEST_F(ControlTest, PressAndReleaseOverTheControlClicksOnce) {
    OButton* b = AddButton(100, 100, false);
    Move(110, 110);
    Press(1, 110, 110);
    Release(1, 110, 110);
    const Events events = EventsOf(b);
    EXPECT_EQ(std::count(events.begin(), events.end(), int{E::Click}), 1);
    EXPECT_EQ(events.back(), E::Click);
}

TEST_F(ControlTest, EnterGivesKeyPressKeyReleaseClickAndPlaysTheClickSound) {
    OButton* b = AddButton(100, 100);
    w->FocusGraph(b);
    w->commands.clear();
    sounds.ClearRequests();
    Key(13);
    EXPECT_EQ(EventsOf(b), (Events{E::KeyPress, E::KeyRelease, E::Click}));
    ASSERT_EQ(sounds.Requests().size(), 1u);
    EXPECT_EQ(sounds.Requests()[0].fileName, "WAV\\bell.wav");
    EXPECT_EQ(sounds.Requests()[0].mode, platform::SoundMode::Async);
    EXPECT_EQ(sounds.Requests()[0].outcome, platform::SoundOutcome::Started);
}

TEST_F(ControlTest, MouseEnterPlaysTheHoverSoundWithoutWaiting) {
    AddButton(100, 100, false);
    Move(120, 120);
    EXPECT_EQ(SoundFiles(), (std::vector<std::string>{"WAV\\over.wav"}));
    EXPECT_EQ(sounds.Requests()[0].mode, platform::SoundMode::Async);
    Move(121, 120);
    EXPECT_EQ(sounds.Requests().size(), 1u) << "moving inside is no new MouseEnter";
}

TEST_F(ControlTest, ControlsWithoutSoundsPlayNothing) {
    OButton* b = AddButton(100, 100);
    b->SetSounds("", "");
    Move(110, 110);
    Press(1, 110, 110);
    Release(1, 110, 110);
    EXPECT_TRUE(sounds.Requests().empty());
}

TEST_F(ControlTest, HoveringAFocusableControlGivesItTheFocus) {
    OButton* a = AddButton(100, 100);
    OButton* plain = AddButton(100, 200, false);
    Move(110, 110);
    EXPECT_EQ(w->Focus(), a);
    Move(110, 210);  // a lets the capture go and plain takes it on the same move
    EXPECT_EQ(w->Capture(), plain);
    EXPECT_EQ(w->Focus(), a) << "a control that cannot take the focus leaves it where it is";
}

TEST_F(ControlTest, TabPastTheLastFocusableControlClearsTheFocusAndTheNextTabStartsOver) {
    OButton* a = AddButton(100, 100);
    AddButton(100, 150, false);
    OButton* c = AddButton(100, 200);
    Key(9);
    EXPECT_EQ(w->Focus(), a);
    Key(9);
    EXPECT_EQ(w->Focus(), c);
    Key(9);
    EXPECT_EQ(w->Focus(), nullptr);
    EXPECT_EQ(EventsOf(c).back(), E::FocusOut);
    Key(9);
    EXPECT_EQ(w->Focus(), a);
}

TEST_F(ControlTest, EnterWithoutTheFocusDoesNothing) {
    OButton* b = AddButton(100, 100);
    Key(13);
    EXPECT_TRUE(EventsOf(b).empty());
}

TEST_F(ControlTest, LosingTheFocusWhileEnterIsDownGivesNoClick) {
    OButton* a = AddButton(100, 100);
    OButton* other = AddButton(100, 200);
    w->FocusGraph(a);
    Press(13);
    w->FocusGraph(other);
    Release(13);
    const Events events = EventsOf(a);
    EXPECT_EQ(std::count(events.begin(), events.end(), int{E::Click}), 0);
    EXPECT_EQ(a->State() & S::KeyDown, 0u);
}

TEST_F(ControlTest, EventsOfANestedControlReachTheOuterControlNeverTheWindow) {
    auto* inner = new OButton("", "", 0, 1, 2, false);
    auto* outer = new OCheckbox(inner, new OButton("", "", 0, 1, 2, false), false);
    outer->SetPosition(100, 100, 0);
    w->AddGraph(outer);
    Move(110, 110);
    Press(1, 110, 110);
    Release(1, 110, 110);
    EXPECT_TRUE(EventsOf(inner).empty());
    // After the Click the inner button is hidden (it lets go of the capture) and the capture follows
    // to the checked button; all of it is raised by the check box.
    EXPECT_EQ(EventsOf(outer), (Events{E::CaptureIn, E::MouseEnter, E::ButtonDown, E::ButtonUp, E::Click,
                                       E::MouseLeave, E::CaptureOut, E::CaptureIn}));
}

TEST_F(ControlTest, AControlInsideAPlainGroupReportsNowhere) {
    auto* group = new OGroup();
    auto* inner = new OButton("", "", 0, 1, 2, true);
    group->AddChild(inner);
    w->AddGraph(group);
    w->FocusGraph(inner);
    Key(13);
    EXPECT_TRUE(w->commands.empty());
    EXPECT_EQ(inner->State() & S::Focused, S::Focused);
}

TEST_F(ControlTest, HidingAControlClearsTheWindowsCaptureAndFocusEvenWhenAnotherHeldThem) {
    OButton* a = AddButton(100, 100);
    OButton* b = AddButton(100, 200);
    Move(110, 110);
    ASSERT_EQ(w->Focus(), a);
    ASSERT_EQ(w->Capture(), a);
    b->SetVisible(false);
    EXPECT_EQ(w->Focus(), nullptr);
    EXPECT_EQ(w->Capture(), nullptr);
    EXPECT_EQ(a->State(), 0u);
    b->SetVisible(false);  // already hidden: nothing to release
    w->FocusGraph(a);
    b->SetVisible(false);
    EXPECT_EQ(w->Focus(), a);
}

TEST_F(ControlTest, AHiddenControlIsNotHit) {
    OButton* b = AddButton(100, 100);
    EXPECT_TRUE(b->HitTest(0, 0));
    EXPECT_TRUE(b->HitTest(89, 33));
    EXPECT_FALSE(b->HitTest(90, 0));
    EXPECT_FALSE(b->HitTest(0, 34));
    EXPECT_FALSE(b->HitTest(-1, 5));
    b->SetVisible(false);
    EXPECT_FALSE(b->HitTest(5, 5));
    Move(110, 110);
    EXPECT_TRUE(EventsOf(b).empty());
}

Colour PictureAt(const OWindow* window, int x, int y) {
    const uint8_t* p = window->GetPicture()->Row(y) + x * 3;
    return {p[0], p[1], p[2]};
}

// A window that looks at its picture when an event arrives.
class WatchingWindow : public TestWindow {
  public:
    void OnCommand(int a, int b) override {
        if (b == ControlEvent::MouseEnter) seenOnEnter = PictureAt(this, 105, 117);
        TestWindow::OnCommand(a, b);
    }
    Colour seenOnEnter{};
};

TEST_F(ControlTest, TheNewLookIsOnScreenBeforeTheEventGoesOut) {
    auto* watching = new WatchingWindow();
    made.push_back(watching);
    watching->Start();
    auto* b = new OButton("", "", 0, 1, 2, false);
    b->SetPosition(100, 100, 0);
    watching->AddGraph(b);
    watching->RunFrame();
    const Colour normal = PixelAt(watching, 105, 117);
    watching->OnMouseMove(110, 110);
    EXPECT_NE(watching->seenOnEnter, normal);
    watching->RunFrame();
    EXPECT_EQ(watching->seenOnEnter, PixelAt(watching, 105, 117));
}

TEST_F(ControlTest, EveryControlHasItsOwnCommandIdAndIsFoundByIt) {
    OButton* a = AddButton(0, 0);
    OButton* b = AddButton(0, 50);
    EXPECT_NE(a->CommandId(), b->CommandId());
    EXPECT_EQ(OControl::FromCommandId(a->CommandId()), a);
    const int gone = b->CommandId();
    b->Destroy();
    EXPECT_EQ(OControl::FromCommandId(gone), nullptr);
    EXPECT_EQ(OControl::FromCommandId(0), nullptr);
}

TEST_F(ControlTest, ANewControlLiesInFrontOfDepthZero) {
    auto* c = new OControl();
    EXPECT_EQ(c->LocalDepth(), -1.0f);
    EXPECT_EQ(c->State(), 0u);
    EXPECT_FALSE(c->IsFocusable());
    c->Destroy();
}

TEST_F(ControlTest, CloneCopiesTheSoundsAndTheFocusableFlag) {
    OButton* b = AddButton(10, 10);
    auto* copy = dynamic_cast<OControl*>(static_cast<OGraph*>(b)->Clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->HoverSound(), "WAV\\over.wav");
    EXPECT_EQ(copy->ClickSound(), "WAV\\bell.wav");
    EXPECT_TRUE(copy->IsFocusable());
    EXPECT_NE(copy->CommandId(), b->CommandId());
    copy->Destroy();
}

TEST_F(ControlTest, ResetReleasesTheSounds) {
    OButton* b = AddButton(10, 10);
    b->Reset();
    EXPECT_TRUE(b->HoverSound().empty());
    EXPECT_TRUE(b->ClickSound().empty());
}

}  // namespace
