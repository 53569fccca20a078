#include <gtest/gtest.h>

#include "tests/support/HeadlessWindowTest.h"
#include "tests/support/TestControl.h"

namespace {

using platform::EventResult;
using platform::NativeEvent;
using platform::NativeEventType;
using Log = std::vector<std::string>;

class InputTest : public HeadlessWindowTest {
  protected:
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        w = Make();
    }
    EventResult Send(NativeEventType type, int code = 0, int x = 0, int y = 0) {
        return os.Dispatch(w->Native(), NativeEvent{type, code, x, y});
    }
    TestControl* Control(float x, float y, float width, float height, bool focusable) {
        auto* c = new TestControl(x, y, width, height, focusable);
        w->AddGraph(c);
        return c;
    }
    TestWindow* w = nullptr;
};

TEST_F(InputTest, TabWalksTheFocusableControlsAndPastTheLastLeavesNone) {
    TestControl* a = Control(0, 0, 10, 10, true);
    TestControl* skipped = Control(0, 20, 10, 10, false);
    TestControl* b = Control(0, 40, 10, 10, true);
    Send(NativeEventType::KeyDown, 9);
    EXPECT_EQ(w->Focus(), a);
    w->FocusNext();
    EXPECT_EQ(w->Focus(), b);
    w->FocusNext();
    EXPECT_EQ(w->Focus(), nullptr);
    Send(NativeEventType::KeyDown, 9);
    EXPECT_EQ(w->Focus(), a);
    EXPECT_EQ(a->log, (Log{"focus in", "focus out", "focus in"}));
    EXPECT_TRUE(skipped->log.empty());
}

TEST_F(InputTest, FocusingAControlThatCannotTakeItIsRefused) {
    TestControl* c = Control(0, 0, 10, 10, false);
    w->FocusGraph(c);
    EXPECT_EQ(w->Focus(), nullptr);
}

TEST_F(InputTest, KeysAndCharactersGoToTheFocusedControlOnlyWithRelativeCursor) {
    TestControl* c = Control(100, 50, 10, 10, true);
    Send(NativeEventType::KeyDown, 37);  // no focus: goes nowhere
    EXPECT_TRUE(c->log.empty());
    w->FocusGraph(c);
    c->log.clear();
    NativeOf(w)->SetCursor(103, 40);
    Send(NativeEventType::KeyDown, 37);
    Send(NativeEventType::KeyUp, 37);
    Send(NativeEventType::Char, 0x1E9);  // only the low 8 bits
    EXPECT_EQ(c->log, (Log{"press 37 3,-10", "release 37 3,-10", "char 233"}));
}

TEST_F(InputTest, CapturedControlGetsEveryMoveAlsoOutsideWithNegativeCoordinates) {
    TestControl* c = Control(100, 100, 20, 20, false);
    TestControl* other = Control(0, 0, 20, 20, false);
    c->captureOnMove = true;
    Send(NativeEventType::MouseMove, 0, 105, 105);
    EXPECT_EQ(w->Capture(), c);
    EXPECT_TRUE(NativeOf(w)->HasMouseCapture());
    Send(NativeEventType::MouseMove, 0, 5, 5);  // over the other control
    EXPECT_EQ(c->log, (Log{"move 5,5", "capture in", "move -95,-95"}));
    EXPECT_TRUE(other->log.empty());
}

TEST_F(InputTest, MouseButtonsGoToTheCaptureOnlyAndOtherwiseNowhere) {
    TestControl* focused = Control(0, 0, 20, 20, true);
    w->FocusGraph(focused);
    focused->log.clear();
    Send(NativeEventType::ButtonDown, 1, 5, 5);
    // The control under the press hears where the pointer is; holding no capture, it gets no press.
    EXPECT_EQ(focused->log, (Log{"move 5,5"}));
    focused->log.clear();
    TestControl* captured = Control(50, 50, 20, 20, false);
    w->CaptureGraph(captured);
    Send(NativeEventType::ButtonDown, 2, 55, 56);
    Send(NativeEventType::ButtonUp, 4, 40, 40);
    EXPECT_EQ(captured->log, (Log{"capture in", "press 2 5,6", "release 4 -10,-10"}));
    EXPECT_TRUE(focused->log.empty());
}

// A window that opens under a resting pointer (the name window over the pond, the game window given
// back its input) hears no move before the first press: the press itself finds the control under it.
TEST_F(InputTest, APressWithNoMoveBeforeItReachesTheControlUnderThePointer) {
    TestControl* c = Control(50, 50, 20, 20, false);
    c->captureOnMove = true;
    Send(NativeEventType::ButtonDown, 1, 55, 56);
    Send(NativeEventType::ButtonUp, 1, 55, 56);
    EXPECT_EQ(c->log, (Log{"move 5,6", "capture in", "press 1 5,6", "release 1 5,6"}));
}

TEST_F(InputTest, CaptureLostReleasesTheCaptureAndTellsTheControl) {
    TestControl* c = Control(0, 0, 20, 20, false);
    w->CaptureGraph(c);
    Send(NativeEventType::CaptureLost);
    EXPECT_EQ(w->Capture(), nullptr);
    EXPECT_EQ(c->log, (Log{"capture in", "capture out"}));
    EXPECT_FALSE(NativeOf(w)->HasMouseCapture());
}

TEST_F(InputTest, RemovingAControlReleasesItsCaptureAndFocus) {
    TestControl* c = Control(0, 0, 20, 20, true);
    w->CaptureGraph(c);
    w->FocusGraph(c);
    w->RemoveGraph(c);
    EXPECT_EQ(w->Capture(), nullptr);
    EXPECT_EQ(w->Focus(), nullptr);
    EXPECT_TRUE(w->Controls().empty());
    c->Destroy();
}

TEST_F(InputTest, DragAreaDragsTheWindowWhereNoControlIsHit) {
    w->SetDragRect(0, 0, 750, 50);
    Control(600, 10, 40, 30, false);
    EXPECT_EQ(Send(NativeEventType::HitTest, 0, 300, 10), EventResult::Caption);
    EXPECT_EQ(Send(NativeEventType::HitTest, 0, 610, 20), EventResult::Default);
    EXPECT_EQ(Send(NativeEventType::HitTest, 0, 300, 50), EventResult::Default);
}

TEST_F(InputTest, AWindowWithADialogOpenIgnoresInput) {
    TestControl* c = Control(0, 0, 20, 20, true);
    w->CaptureGraph(c);
    w->FocusGraph(c);
    c->log.clear();
    w->SetDragRect(0, 0, 750, 50);
    WindowDefaults::Current().width = 100;
    WindowDefaults::Current().height = 100;
    Make(w);
    Send(NativeEventType::ButtonDown, 1, 5, 5);
    Send(NativeEventType::KeyDown, 9);
    Send(NativeEventType::MouseMove, 0, 5, 5);
    EXPECT_TRUE(c->log.empty());
    EXPECT_EQ(Send(NativeEventType::HitTest, 0, 300, 10), EventResult::Default);
}

TEST_F(InputTest, CommandsTravelToTheParentWithTheLowSixteenBits) {
    TestWindow* dialog = Make(w);
    dialog->OnCommand(7, 0x50400);
    ASSERT_EQ(w->commands.size(), 1u);
    EXPECT_EQ(w->commands[0], (std::pair<int, int>{7, 0x0400}));
}

TEST_F(InputTest, EventsForATornDownWindowAreNeverDelivered) {
    TestControl* c = Control(0, 0, 20, 20, true);
    platform::NativeWindow* native = w->Native();
    os.Post(native, {NativeEventType::MouseMove, 0, 5, 5});
    Close(w);  // the queued move is delivered after the teardown: nothing may reach the window
    EXPECT_FALSE(os.Exists(native));
    (void)c;
}

}  // namespace
