// Windows, dialogs and their game threads against the headless platform, run under ThreadSanitizer as
// well: native windows touched only by the main thread, the program's end waiting for every game
// thread, and dialogs made while others tear down.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "engine/WindowRegistry.h"
#include "platform/HeadlessPlatform.h"
#include "tests/support/TestControl.h"

namespace {

using namespace std::chrono_literals;

class ThreadsFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        os.UseClock(&clock);
        engine::SetPlatform(&os);
        WindowDefaults::Current() = WindowDefaults{};
        WindowDefaults::Current().width = 200;
        WindowDefaults::Current().height = 150;
    }
    void TearDown() override {
        engine::SetGameThreads(true);
        engine::SetPlatform(nullptr);
    }
    platform::HeadlessNativeWindow* NativeOf(OWindow* w) {
        return static_cast<platform::HeadlessNativeWindow*>(w->Native());
    }

    platform::SteadyClock clock;
    platform::HeadlessPlatform os{640, 480};
};

using NativeThreadTest = ThreadsFixture;

TEST_F(NativeThreadTest, CaptureMoveCaptionAndMinimiseFromAGameThreadAreCarriedOutByTheMainThread) {
    engine::SetGameThreads(false);
    auto* w = new OWindow();
    auto* control = new TestControl(10, 10, 20, 20, true);
    w->AddGraph(control);
    std::thread game([&] {
        w->Lock();
        w->CaptureGraph(control);
        w->MoveTo(12.7f, 34.2f);
        w->SetCaption("Marshwade");
        w->ShowRestored(false);
        w->Unlock();
    });
    game.join();
    EXPECT_EQ(NativeOf(w)->OffThreadCalls(), 0);
    EXPECT_EQ(w->Caption(), "Marshwade");
    os.Pump();
    EXPECT_TRUE(NativeOf(w)->HasMouseCapture());
    EXPECT_EQ(NativeOf(w)->ScreenRect().left, 12);
    EXPECT_EQ(NativeOf(w)->ScreenRect().top, 34);
    EXPECT_EQ(NativeOf(w)->Spec().title, "Marshwade");
    EXPECT_TRUE(NativeOf(w)->IsMinimised());

    // A control hidden in a frame step releases the capture the same way.
    std::thread release([&] {
        w->Lock();
        w->RemoveGraph(control);
        w->Unlock();
    });
    release.join();
    EXPECT_EQ(NativeOf(w)->OffThreadCalls(), 0);
    os.Pump();
    EXPECT_FALSE(NativeOf(w)->HasMouseCapture());
    control->Destroy();
    w->RequestStop();
    w->Teardown();
    os.Pump();
}

// A window whose frame step waits until the test lets it go on.
class HeldWindow : public OWindow {
  public:
    void Step(uint32_t t) override {
        std::unique_lock lock(gate);
        stepping = true;
        opened.notify_all();
        opened.wait(lock, [&] { return released; });
        OWindow::Step(t);
    }
    // Until the window's thread is held in its frame step: a window stopped before its first step
    // is torn down at once, and could not be released any more.
    void WaitUntilHeld() {
        std::unique_lock lock(gate);
        opened.wait(lock, [&] { return stepping; });
    }
    void Release() {
        std::lock_guard lock(gate);
        released = true;
        opened.notify_all();
    }
    static std::atomic<bool> deleted;

  protected:
    ~HeldWindow() override { deleted = true; }

  private:
    std::mutex gate;
    std::condition_variable opened;
    bool released = false;
    bool stepping = false;
};
std::atomic<bool> HeldWindow::deleted{false};

using ProgramEndTest = ThreadsFixture;

TEST_F(ProgramEndTest, TheLoopReturnsOnlyAfterEveryGameThreadHasEnded) {
    HeldWindow::deleted = false;
    auto* main = new OWindow();
    main->SetQuitOnTeardown(true);
    auto* held = new HeldWindow();
    ASSERT_TRUE(main->Start());
    ASSERT_TRUE(held->Start());
    held->WaitUntilHeld();
    std::thread releaser([&] {
        while (OWindow::Exists(main)) std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(50ms);  // long after the loop could have returned
        held->Release();
    });
    main->Close();
    EXPECT_EQ(engine::RunMessageLoop(), 0);
    EXPECT_TRUE(HeldWindow::deleted.load());
    EXPECT_EQ(window_registry::RunningGameThreads(), 0u);
    EXPECT_EQ(window_registry::Count(), 0u);
    releaser.join();
}

using DialogChurnTest = ThreadsFixture;

TEST_F(DialogChurnTest, DialogsMadeOnTheMainThreadWhileOthersTearDownOnTheirOwn) {
    auto* main = new OWindow();
    main->SetQuitOnTeardown(true);
    ASSERT_TRUE(main->Start());
    WindowDefaults::Current().width = 80;
    WindowDefaults::Current().height = 60;
    for (int i = 0; i < 40; ++i) {
        auto* dialog = new OWindow(main);
        ASSERT_FALSE(dialog->CreationFailed());
        dialog->AddGraph(new TestControl(5, 5, 10, 10, true));
        ASSERT_TRUE(dialog->Start());
        dialog->Close();
        os.Pump();  // the dialog is destroyed here; its thread tears it down while the next one is made
        EXPECT_FALSE(main->IsModalPaused());
    }
    main->Close();
    EXPECT_EQ(engine::RunMessageLoop(), 0);
    EXPECT_EQ(window_registry::Count(), 0u);
    EXPECT_EQ(window_registry::RunningGameThreads(), 0u);
}

using DialogLockOrderTest = ThreadsFixture;

TEST_F(DialogLockOrderTest, ADialogOpenedByItsParentsHandlerLetsGoOfItWithoutHoldingItsOwnLock) {
    // A parent opens a dialog from its handler, with its own lock held, and the dialog takes its lock
    // while it builds: the parent's lock first. Closing the dialog must keep that order, or two
    // threads taking them as each side does could wait for each other (ThreadSanitizer says so).
    auto* main = new OWindow();
    main->SetQuitOnTeardown(true);
    ASSERT_TRUE(main->Start());
    WindowDefaults::Current().width = 80;
    WindowDefaults::Current().height = 60;
    for (int i = 0; i < 3; ++i) {
        main->Lock();
        auto* dialog = new OWindow(main);
        ASSERT_FALSE(dialog->CreationFailed());
        dialog->AddGraph(new TestControl(5, 5, 10, 10, true));
        ASSERT_TRUE(dialog->Start());
        main->Unlock();
        EXPECT_TRUE(main->IsModalPaused());
        dialog->Close();
        os.Pump();
        EXPECT_FALSE(main->IsModalPaused());
    }
    main->Close();
    EXPECT_EQ(engine::RunMessageLoop(), 0);
    EXPECT_EQ(window_registry::RunningGameThreads(), 0u);
}

}  // namespace
