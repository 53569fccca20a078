// Dialogs over a window through the headless platform: what the window under a dialog still takes
// (the program's own posted requests) and what it refuses (user input, a close), how dialogs over one
// window are counted, the icon every window carries, and the capture taken away with the focus.
#include <gtest/gtest.h>

#include "engine/WindowRegistry.h"
#include "tests/support/HeadlessWindowTest.h"
#include "tests/support/TestControl.h"

namespace {

using platform::EventResult;
using platform::NativeEvent;
using platform::NativeEventType;

class RecordingWindow : public TestWindow {
  public:
    using TestWindow::TestWindow;
    void OnMouseMove(int x, int y) override {
        moves.push_back({x, y});
        TestWindow::OnMouseMove(x, y);
    }
    void OnCommand(int a, int b) override {
        pinsDuringCommand.push_back(window_registry::PinCount(this));
        TestWindow::OnCommand(a, b);
    }
    std::vector<std::pair<int, int>> moves;
    std::vector<size_t> pinsDuringCommand;
};

class ModalTest : public HeadlessWindowTest {
  protected:
    void SetUp() override {
        HeadlessWindowTest::SetUp();
        main = new RecordingWindow();
        made.push_back(main);
        WindowDefaults::Current().width = 300;
        WindowDefaults::Current().height = 200;
    }
    EventResult Send(OWindow* w, NativeEventType type, int code = 0, int x = 0, int y = 0) {
        return os.Dispatch(w->Native(), NativeEvent{type, code, x, y});
    }
    // The user closes the dialog; its game thread (played by the test) then tears it down.
    void CloseDialog(OWindow* dialog) {
        Send(dialog, NativeEventType::Close);
        dialog->Teardown();
        os.Pump();
    }

    RecordingWindow* main = nullptr;
};

TEST_F(ModalTest, PostedMouseMoveWhileADialogIsOpenIsHandledOnceWhenItCloses) {
    OWindow* dialog = Make(main);
    NativeOf(main)->SetCursor(40, 30);
    main->PostMouseMove();
    main->PostMouseMove();
    os.Pump();
    EXPECT_TRUE(main->moves.empty());
    CloseDialog(dialog);
    EXPECT_EQ(main->moves, (std::vector<std::pair<int, int>>{{40, 30}}));
}

TEST_F(ModalTest, UserInputWhileADialogIsOpenIsDroppedAndThePointerIsResentOnClose) {
    OWindow* dialog = Make(main);
    Send(main, NativeEventType::MouseMove, 0, 5, 6);
    NativeOf(main)->SetCursor(30, 40);
    CloseDialog(dialog);
    // Not the dropped move, but where the pointer rests now: a click there must find its control.
    EXPECT_EQ(main->moves, (std::vector<std::pair<int, int>>{{30, 40}}));
    Send(main, NativeEventType::MouseMove, 0, 7, 8);
    EXPECT_EQ(main->moves, (std::vector<std::pair<int, int>>{{30, 40}, {7, 8}}));
}

TEST_F(ModalTest, CloseOfAWindowUnderADialogIsRefusedUntilTheDialogHasClosed) {
    OWindow* dialog = Make(main);
    EXPECT_EQ(Send(main, NativeEventType::Close), EventResult::Handled);
    EXPECT_FALSE(main->IsStopping());
    EXPECT_TRUE(os.Exists(main->Native()));
    CloseDialog(dialog);
    platform::NativeWindow* native = main->Native();
    EXPECT_EQ(Send(main, NativeEventType::Close), EventResult::Default);
    EXPECT_FALSE(os.Exists(native));
    EXPECT_TRUE(main->IsStopping());
}

TEST_F(ModalTest, TwoDialogsOverOneWindowKeepItPausedUntilBothHaveClosed) {
    OWindow* first = Make(main);
    OWindow* second = Make(main);
    CloseDialog(first);
    EXPECT_TRUE(main->IsModalPaused());
    EXPECT_FALSE(NativeOf(main)->IsEnabled());
    CloseDialog(second);
    EXPECT_FALSE(main->IsModalPaused());
    EXPECT_TRUE(NativeOf(main)->IsEnabled());
    EXPECT_EQ(os.ActiveWindow(), main->Native());
}

TEST_F(ModalTest, ADialogStoppedAndThenClosedLetsGoOfItsParentOnlyOnce) {
    OWindow* stopped = Make(main);
    OWindow* other = Make(main);
    stopped->RequestStop();
    Send(stopped, NativeEventType::Close);  // stopping: destroyed without asking
    stopped->Teardown();
    os.Pump();
    EXPECT_TRUE(main->IsModalPaused()) << "the other dialog still holds it";
    CloseDialog(other);
    EXPECT_FALSE(main->IsModalPaused());
}

TEST_F(ModalTest, ADialogWhoseWindowCouldNotBeCreatedNeitherPausesNorReleasesItsParent) {
    OWindow* open = Make(main);
    os.FailWindowCreation(true);
    OWindow* failed = new TestWindow(main);
    os.FailWindowCreation(false);
    ASSERT_TRUE(failed->CreationFailed());
    failed->RequestStop();
    failed->Teardown();
    EXPECT_TRUE(main->IsModalPaused());
    CloseDialog(open);
    EXPECT_FALSE(main->IsModalPaused());
}

TEST_F(ModalTest, ADialogsCommandReachesItsParentPinned) {
    OWindow* dialog = Make(main);
    dialog->OnCommand(7, 0x10400);
    EXPECT_EQ(main->commands, (std::vector<std::pair<int, int>>{{7, 0x400}}));
    ASSERT_EQ(main->pinsDuringCommand.size(), 1u);
    EXPECT_GE(main->pinsDuringCommand[0], 1u);
}

TEST_F(ModalTest, EveryWindowCarriesTheProgramsIcon) {
    std::vector<uint8_t> pixels(32 * 32 * 3, 0x80);
    engine::SetWindowIcon({pixels.data(), 32, 32, 96});
    OWindow* withIcon = Make();
    OWindow* dialog = Make(withIcon);
    engine::SetWindowIcon({});
    EXPECT_EQ(NativeOf(withIcon)->IconWidth(), 32);
    EXPECT_EQ(NativeOf(dialog)->IconWidth(), 32);
    EXPECT_EQ(NativeOf(main)->IconWidth(), 0) << "made before the icon was set";
}

TEST_F(ModalTest, LosingTheFocusTakesTheCaptureAwayFromThePressedControl) {
    auto* control = new TestControl(10, 10, 20, 20, true);
    main->AddGraph(control);
    main->CaptureGraph(control);
    ASSERT_TRUE(NativeOf(main)->HasMouseCapture());
    control->log.clear();
    Send(main, NativeEventType::FocusChanged, 0);
    EXPECT_EQ(main->Capture(), nullptr);
    EXPECT_FALSE(NativeOf(main)->HasMouseCapture());
    EXPECT_EQ(control->log, (std::vector<std::string>{"capture out"}));
    Send(main, NativeEventType::FocusChanged, 1);
    EXPECT_EQ(control->log.size(), 1u);
}

}  // namespace
