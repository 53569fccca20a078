// Check boxes: input to the shown button, the owner's view of a Click, the toggling with the focus
// and the capture following, and the box cut from one clip file.
#include "graphics/LiveSet.h"
#include "graphics/OClip.h"
#include "tests/ui/UiFixture.h"
#include "ui/OButton.h"
#include "ui/OCheckbox.h"

namespace {
using namespace ui_test;
using E = ControlEvent;

constexpr Colour kRed{0, 0, 255}, kGreen{0, 255, 0}, kBlue{255, 0, 0};
constexpr Colour kCyan{255, 255, 0}, kYellow{0, 255, 255}, kWhite{255, 255, 255};

// A window whose Click handler sees the check box as it is when the Click arrives, and may set it.
class OwnerWindow : public TestWindow {
  public:
    void OnCommand(int a, int b) override {
        if (box && b == ControlEvent::Click && a == box->CommandId()) {
            indexOnClick.push_back(box->Index());
            if (resetOnClick) box->SetIndex(0);
        }
        TestWindow::OnCommand(a, b);
    }
    OCheckbox* box = nullptr;
    bool resetOnClick = false;
    std::vector<int> indexOnClick;
};

class CheckboxTest : public UiTest {
  protected:
    OCheckbox* Add(OCheckbox* box, OWindow* target = nullptr) {
        box->SetPosition(100, 100, 0);
        (target ? target : w)->AddGraph(box);
        Frame();
        return box;
    }
    OCheckbox* TwoButtonBox(bool focusable) {
        const std::string off = WriteClip("off.clp", 40, 40, {kRed, kGreen, kBlue});
        const std::string on = WriteClip("on.clp", 40, 40, {kCyan, kYellow, kWhite});
        return new OCheckbox(new OButton("", off, 0, 1, 2, focusable),
                             new OButton("", on, 0, 1, 2, focusable), focusable);
    }
    void Click() {
        NativeOf(w)->SetCursor(110, 110);
        Press(1, 110, 110);
        Release(1, 110, 110);
    }
};

TEST_F(CheckboxTest, ItTogglesOnEveryClickWithFocusAndCaptureFollowingTheShownButton) {
    OCheckbox* box = Add(TwoButtonBox(true));
    auto* unchecked = dynamic_cast<OButton*>(box->Children()[0]);
    auto* checked = dynamic_cast<OButton*>(box->Children()[1]);
    EXPECT_EQ(At(102, 102), kRed);
    Move(110, 110);
    EXPECT_EQ(w->Capture(), unchecked);
    EXPECT_EQ(w->Focus(), unchecked);
    EXPECT_EQ(At(102, 102), kGreen);
    Click();
    EXPECT_EQ(box->Index(), 1);
    EXPECT_EQ(w->Focus(), checked);
    EXPECT_EQ(w->Capture(), checked);
    EXPECT_FALSE(unchecked->IsVisible());
    Move(111, 110);
    EXPECT_EQ(At(102, 102), kYellow) << "the checked button, highlighted";
    Click();
    EXPECT_EQ(box->Index(), 0);
    EXPECT_EQ(w->Focus(), unchecked);
    EXPECT_EQ(w->Capture(), unchecked);
    Click();  // at once, without moving: the new button knows the mouse is over it
    EXPECT_EQ(box->Index(), 1);
    Click();
    EXPECT_EQ(box->Index(), 0);
    const std::vector<int> events = EventsOf(box);
    EXPECT_EQ(std::count(events.begin(), events.end(), int{E::Click}), 4);
    EXPECT_TRUE(EventsOf(unchecked).empty());
    EXPECT_TRUE(EventsOf(checked).empty());
}

TEST_F(CheckboxTest, TheOwnerSeesTheClickBeforeTheLookChanges) {
    auto* owner = new OwnerWindow();
    made.push_back(owner);
    owner->Start();
    OCheckbox* box = TwoButtonBox(false);
    owner->box = box;
    box->SetPosition(100, 100, 0);
    owner->AddGraph(box);
    owner->OnMouseMove(110, 110);
    owner->OnPress(1, 110, 110);
    owner->OnRelease(1, 110, 110);
    EXPECT_EQ(owner->indexOnClick, (std::vector<int>{0}));
    EXPECT_EQ(box->Index(), 1);
}

TEST_F(CheckboxTest, AnOwnerThatSetsTheBoxOnClickSeesItAdvancedByOneAfterwards) {
    auto* owner = new OwnerWindow();
    made.push_back(owner);
    owner->Start();
    OCheckbox* box = TwoButtonBox(false);
    owner->box = box;
    owner->resetOnClick = true;
    box->SetIndex(1);
    box->SetPosition(100, 100, 0);
    owner->AddGraph(box);
    owner->OnMouseMove(110, 110);
    owner->OnPress(1, 110, 110);
    owner->OnRelease(1, 110, 110);
    EXPECT_EQ(owner->indexOnClick, (std::vector<int>{1}));
    EXPECT_EQ(box->Index(), 1) << "set to 0 by the owner, then advanced by the Click";
}

TEST_F(CheckboxTest, EnterOnTheFocusedBoxTogglesIt) {
    OCheckbox* box = Add(TwoButtonBox(true));
    Key(9);
    EXPECT_EQ(w->Focus(), box->Children()[0]) << "the focus goes on to the shown button";
    Key(13);
    EXPECT_EQ(box->Index(), 1);
    EXPECT_EQ(w->Focus(), box->Children()[1]);
    const std::vector<int> events = EventsOf(box);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[0], E::FocusIn);
}

TEST_F(CheckboxTest, AShownButtonThatCannotTakeTheFocusLeavesItWhereItIs) {
    OCheckbox* box = TwoButtonBox(false);
    box->SetFocusable(true);
    Add(box);
    Key(9);
    EXPECT_EQ(w->Focus(), box);
    EXPECT_EQ(box->State() & ControlState::Focused, 0u);
}

TEST_F(CheckboxTest, SetIndexShowsThatButtonAndIgnoresIndexesOutsideTheBox) {
    OCheckbox* box = Add(TwoButtonBox(false));
    box->SetIndex(1);
    Frame();
    EXPECT_EQ(At(102, 102), kCyan);
    box->SetIndex(2);
    box->SetIndex(-1);
    EXPECT_EQ(box->Index(), 1);
    box->SetIndex(0);
    Frame();
    EXPECT_EQ(At(102, 102), kRed);
}

TEST_F(CheckboxTest, AHiddenOrEmptyBoxIsNotHit) {
    OCheckbox* box = Add(TwoButtonBox(false));
    EXPECT_TRUE(box->HitTest(5, 5));
    box->SetVisible(false);
    EXPECT_FALSE(box->HitTest(5, 5));
    auto* empty = new OCheckbox(nullptr, nullptr, false);
    EXPECT_FALSE(empty->HitTest(0, 0));
    empty->Destroy();
}

TEST_F(CheckboxTest, TextGoesToEveryButtonAndComesFromTheShownOne) {
    OCheckbox* box = Add(TwoButtonBox(false));
    box->SetText("Sound On");
    EXPECT_EQ(box->GetText(), "Sound On");
    EXPECT_EQ(dynamic_cast<OButton*>(box->Children()[1])->GetText(), "Sound On");
}

TEST_F(CheckboxTest, OneClipOfSixFramesGivesTheLooksOfBothButtons) {
    const std::string six = WriteClip("six.clp", 40, 40, {kRed, kGreen, kBlue, kCyan, kYellow, kWhite});
    OCheckbox* box = Add(new OCheckbox("", six, false));
    ASSERT_EQ(box->FrameCount(), 2);
    EXPECT_EQ(At(102, 102), kRed);
    Move(110, 110);
    EXPECT_EQ(At(102, 102), kGreen);
    Press(1, 110, 110);
    EXPECT_EQ(At(102, 102), kBlue);
    Release(1, 110, 110);
    Move(111, 110);
    EXPECT_EQ(At(102, 102), kYellow);
    Press(1, 110, 110);
    EXPECT_EQ(At(102, 102), kWhite);
    Release(1, 110, 110);
    Frame();
    EXPECT_EQ(At(102, 102), kRed) << "the cursor is not known to be over it: the normal look";
    Move(110, 110);
    EXPECT_EQ(At(102, 102), kGreen);
}

TEST_F(CheckboxTest, TheGeneratedDefaultBoxLoads) {
    OCheckbox* box = Add(new OCheckbox("", "", true));
    EXPECT_EQ(box->Width(), 40.0f);
    EXPECT_EQ(box->Height(), 40.0f);
    EXPECT_NE(At(120, 120), kPond);
}

TEST_F(CheckboxTest, AClipWithFewerThanSixFramesStillMakesTwoButtons) {
    const std::string two = WriteClip("two.clp", 40, 40, {kRed, kGreen});
    OCheckbox* box = Add(new OCheckbox("", two, false));
    ASSERT_EQ(box->FrameCount(), 2);
    EXPECT_EQ(At(102, 102), kRed);
    Move(110, 110);
    Press(1, 110, 110);
    Release(1, 110, 110);
    EXPECT_EQ(box->Index(), 1);
    Frame();
    EXPECT_EQ(At(102, 102), kGreen);
}

}  // namespace
