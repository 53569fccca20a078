#include <gtest/gtest.h>

#include "engine/FramePacing.h"
#include "tests/support/HeadlessWindowTest.h"
#include "tests/support/TestSprite.h"

namespace {

using platform::NativeEventType;
using WindowTest = HeadlessWindowTest;

TEST_F(WindowTest, MainWindowIsABorderless750By550WindowCentredInThePondColour) {
    OWindow* w = Make();
    ASSERT_FALSE(w->CreationFailed());
    auto* native = NativeOf(w);
    EXPECT_TRUE(native->IsShown());
    EXPECT_TRUE(native->Spec().borderless);
    EXPECT_FALSE(native->Spec().resizable);
    EXPECT_EQ(native->Spec().title, "Main window");
    EXPECT_EQ(native->ScreenRect(), (platform::Rect{137, 109, 887, 659}));
    EXPECT_FLOAT_EQ(w->ClientWidth(), 750);
    EXPECT_FLOAT_EQ(w->ClientHeight(), 550);
    // The picture has the screen's size and starts in the background colour (blue, green, red).
    EXPECT_EQ(w->GetPicture()->Width(), 1024);
    EXPECT_EQ(w->GetPicture()->Height(), 768);
    EXPECT_EQ(PixelAt(w, 0, 0), (std::array<uint8_t, 3>{0xD0, 0xA7, 0x43}));
    EXPECT_EQ(PixelAt(w, 1023, 767), (std::array<uint8_t, 3>{0xD0, 0xA7, 0x43}));
    EXPECT_TRUE(OWindow::Exists(w));
    EXPECT_TRUE(w->IsSuspended());
}

TEST_F(WindowTest, ZeroSizeTakesTheScreensSize) {
    WindowDefaults::Current().width = 0;
    WindowDefaults::Current().height = 0;
    OWindow* w = Make();
    EXPECT_EQ(w->Width(), 1024);
    EXPECT_EQ(w->Height(), 768);
    EXPECT_EQ(NativeOf(w)->ScreenRect(), (platform::Rect{0, 0, 1024, 768}));
}

TEST_F(WindowTest, PlacementFlagsPutTheWindowAgainstTheEdges) {
    WindowDefaults::Current().placement = 2 | 8;  // right and bottom
    OWindow* w = Make();
    EXPECT_EQ(NativeOf(w)->ScreenRect().left, 1024 - 750);
    EXPECT_EQ(NativeOf(w)->ScreenRect().top, 768 - 550);
    WindowDefaults::Current().placement = 0;
    OWindow* origin = Make();
    EXPECT_EQ(NativeOf(origin)->ScreenRect().left, 0);
}

TEST_F(WindowTest, FailedNativeWindowLeavesTheFlagAndCanStillBeStopped) {
    os.FailWindowCreation(true);
    OWindow* w = Make();
    EXPECT_TRUE(w->CreationFailed());
    EXPECT_FALSE(OWindow::Exists(w));
    w->RequestStop();
    w->Teardown();  // no native window, no picture: nothing to touch
    os.FailWindowCreation(false);
    made.clear();
}

TEST_F(WindowTest, DialogIsCentredOnItsParentWhichIsDisabledAndPausedUntilItCloses) {
    OWindow* main = Make();
    WindowDefaults::Current().width = 300;
    WindowDefaults::Current().height = 200;
    OWindow* dialog = Make(main);
    EXPECT_EQ(NativeOf(dialog)->Spec().title, "Dialog window");
    EXPECT_EQ(NativeOf(dialog)->ScreenRect(), (platform::Rect{137 + 225, 109 + 175, 137 + 525, 109 + 375}));
    EXPECT_TRUE(main->IsModalPaused());
    EXPECT_FALSE(NativeOf(main)->IsEnabled());

    auto* sprite = new TestSprite(4, 4, 0, 0, 0);
    sprite->SetVelocity(0, 1, 0);
    main->AddGraph(sprite);
    main->Start();
    main->RunFrame();

    os.Dispatch(dialog->Native(), {NativeEventType::Close, 0, 0, 0});
    EXPECT_FALSE(main->IsModalPaused());
    EXPECT_TRUE(NativeOf(main)->IsEnabled());
    EXPECT_TRUE(dialog->IsStopping());
    dialog->Teardown();
    os.Pump();
    EXPECT_EQ(os.ActiveWindow(), main->Native());
    EXPECT_FALSE(OWindow::Exists(dialog));
}

TEST_F(WindowTest, DialogStoppedWithoutClosingStillReleasesItsParent) {
    OWindow* main = Make();
    WindowDefaults::Current().width = 300;
    OWindow* dialog = Make(main);
    ASSERT_TRUE(main->IsModalPaused());
    dialog->RequestStop();
    dialog->Teardown();
    os.Pump();
    EXPECT_FALSE(main->IsModalPaused());
    EXPECT_TRUE(NativeOf(main)->IsEnabled());
    EXPECT_EQ(os.ActiveWindow(), main->Native());
}

TEST_F(WindowTest, StopForgetsTheReportsOfTheFrame) {
    OWindow* w = Make();
    w->AddGraph(new TestSprite(4, 4, 0, 0, 255));
    ASSERT_FALSE(w->Scene().Pending().empty());
    w->Stop();
    EXPECT_TRUE(w->Scene().Pending().empty());
    EXPECT_TRUE(w->Graphics().empty());
    EXPECT_TRUE(w->IsStopping());
}

TEST_F(WindowTest, PausedWindowSkipsItsFrameSteps) {
    OWindow* w = Make();
    auto* sprite = new TestSprite(4, 4, 0, 0, 0);
    sprite->SetVelocity(0, 1, 0);
    w->AddGraph(sprite);
    w->SetModal(true);
    w->RunFrame();
    EXPECT_FLOAT_EQ(sprite->Y(), 0);  // suspended and paused
    w->SetModal(false);
    w->RunFrame();
    EXPECT_FLOAT_EQ(sprite->Y(), 0);  // still suspended: not started
}

TEST(FramePacing, StepsLongerThanThePeriodAreFollowedAtOnce) {
    EXPECT_LE(FrameDelayMs(50, 25), 0);
    EXPECT_LE(FrameDelayMs(50, 20), 0);  // 19.99996 - 20
    EXPECT_EQ(FrameDelayMs(50, 5), 14);
    EXPECT_EQ(FrameDelayMs(50, 0), 19);
    EXPECT_EQ(FrameDelayMs(12, 0), 83);
}

TEST(FramePacing, RatesBelowOneCountAsOne) {
    EXPECT_EQ(FrameDelayMs(0, 0), 999);
    EXPECT_EQ(FrameDelayMs(-5, 0), 999);
}

TEST_F(WindowTest, FrameRateOfZeroIsClampedOnStartAndInEveryPass) {
    OWindow* w = Make();
    w->SetFrameRate(0);
    w->RunFrame();
    EXPECT_EQ(w->FrameRate(), 1);
    w->SetFrameRate(-3);
    os.Manual().Set(100);
    EXPECT_EQ(w->RunFrame(), 999);
    EXPECT_EQ(w->FrameRate(), 1);
}

TEST_F(WindowTest, StartedWindowStepsItsObjectsAtTheClocksTime) {
    OWindow* w = Make();
    auto* sprite = new TestSprite(4, 4, 0, 0, 0);
    sprite->SetVelocity(0, 2, 0);
    w->AddGraph(sprite);
    ASSERT_TRUE(w->Start());
    EXPECT_FALSE(w->HasGameThread());  // the fixture steps by hand
    os.Manual().Set(1234);
    w->RunFrame();
    EXPECT_FLOAT_EQ(sprite->Y(), 2);
    EXPECT_EQ(sprite->LastStepTime(), 1234u);
}

TEST_F(WindowTest, ClosingAsksQueryCloseAndARefusalKeepsTheWindow) {
    TestWindow* w = Make();
    w->allowClose = false;
    EXPECT_EQ(os.Dispatch(w->Native(), {NativeEventType::Close, 0, 0, 0}), platform::EventResult::Handled);
    EXPECT_TRUE(os.Exists(w->Native()));
    EXPECT_FALSE(w->IsStopping());
}

TEST_F(WindowTest, AStoppingWindowClosesWithoutAsking) {
    TestWindow* w = Make();
    w->allowClose = false;
    platform::NativeWindow* native = w->Native();
    w->RequestStop();
    os.Dispatch(native, {NativeEventType::Close, 0, 0, 0});
    EXPECT_FALSE(os.Exists(native));
}

TEST_F(WindowTest, ClosedWindowTearsDownAndPostsQuitWhenAskedTo) {
    TestWindow* w = Make();
    w->SetQuitOnTeardown(true);
    platform::NativeWindow* native = w->Native();
    os.Dispatch(native, {NativeEventType::Close, 0, 0, 0});
    EXPECT_FALSE(os.Exists(native));
    EXPECT_TRUE(w->IsStopping());
    EXPECT_TRUE(OWindow::Exists(w));  // until its thread tears it down
    w->Teardown();
    EXPECT_FALSE(OWindow::Exists(w));
    EXPECT_EQ(os.RunEventLoop(), 0);
}

TEST_F(WindowTest, TeardownClosesTheNativeWindowThroughTheMainThread) {
    OWindow* w = Make();
    platform::NativeWindow* native = w->Native();
    w->RequestStop();
    w->Teardown();
    EXPECT_TRUE(os.Exists(native));  // the close waits for the main thread
    os.Pump();
    EXPECT_FALSE(os.Exists(native));
    EXPECT_EQ(os.WindowCount(), 0u);
}

TEST_F(WindowTest, StopDestroysEveryObjectButKeepsFlaggedOnesDetached) {
    OWindow* w = Make();
    auto* plain = new TestSprite(4, 4, 0, 0, 0);
    auto* kept = new TestSprite(4, 4, 0, 0, 0);
    kept->SetKeep(true);
    w->AddGraph(plain);
    w->AddGraph(kept);
    Close(w);
    EXPECT_FALSE(IsLive(plain));
    ASSERT_TRUE(IsLive(kept));
    EXPECT_EQ(kept->Window(), nullptr);
    kept->SetKeep(false);
    kept->Destroy();
}

TEST_F(WindowTest, ExposedWindowPresentsTheWholePicture) {
    OWindow* w = Make();
    os.Dispatch(w->Native(), {NativeEventType::Exposed, 0, 0, 0});
    auto presents = NativeOf(w)->Presents();
    ASSERT_EQ(presents.size(), 1u);
    EXPECT_EQ(presents[0], (std::vector<ORect>{{0, 0, 1024, 768}}));
}

TEST_F(WindowTest, CaptionIsKeptAndShown) {
    OWindow* w = Make();
    w->SetCaption("Options");
    EXPECT_EQ(w->Caption(), "Options");
    EXPECT_EQ(NativeOf(w)->Spec().title, "Options");
}

}  // namespace
