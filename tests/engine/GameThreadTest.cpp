// The real game thread against the headless platform: run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "graphics/LiveSet.h"
#include "platform/HeadlessPlatform.h"
#include "tests/support/TestControl.h"
#include "tests/support/TestSprite.h"

namespace {

using platform::NativeEventType;
using namespace std::chrono_literals;

std::atomic<int> g_steps{0};
std::atomic<int> g_stops{0};
std::atomic<int> g_deleted{0};

class CountingWindow : public OWindow {
  public:
    void Step(uint32_t t) override {
        g_steps.fetch_add(1);
        OWindow::Step(t);
    }
    bool Stop() override {
        g_stops.fetch_add(1);
        return OWindow::Stop();
    }

  protected:
    ~CountingWindow() override { g_deleted.fetch_add(1); }
};

class GameThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        os.UseClock(&clock);
        engine::SetPlatform(&os);
        engine::SetGameThreads(true);
        WindowDefaults::Current() = WindowDefaults{};
        WindowDefaults::Current().width = 200;
        WindowDefaults::Current().height = 150;
        g_steps = 0;
        g_stops = 0;
        g_deleted = 0;
    }
    void TearDown() override { engine::SetPlatform(nullptr); }
    static void WaitForSteps(int count) {
        for (int i = 0; i < 2000 && g_steps.load() < count; ++i) std::this_thread::sleep_for(1ms);
    }

    platform::SteadyClock clock;
    platform::HeadlessPlatform os{640, 480};
};

TEST_F(GameThreadTest, ClosedMainWindowTearsDownOnceAndEndsTheLoopWithCodeZero) {
    auto* w = new CountingWindow;
    w->SetQuitOnTeardown(true);
    auto* sprite = new TestSprite(4, 4, 0, 0, 255);
    sprite->SetVelocity(0, 1, 0);
    w->AddGraph(sprite);
    ASSERT_TRUE(w->Start());
    EXPECT_TRUE(w->HasGameThread());
    WaitForSteps(3);
    EXPECT_GE(g_steps.load(), 3);
    platform::NativeWindow* native = w->Native();
    std::thread closer([w] { w->Close(); });  // any thread may ask
    closer.join();
    EXPECT_EQ(os.RunEventLoop(), 0);
    EXPECT_FALSE(OWindow::Exists(w));
    EXPECT_FALSE(os.Exists(native));
    EXPECT_FALSE(IsLive(sprite));
    EXPECT_EQ(g_stops.load(), 1);
    EXPECT_EQ(g_deleted.load(), 1);
}

TEST_F(GameThreadTest, InputAndSceneChangesFromTheMainThreadWhileTheGameThreadSteps) {
    auto* w = new CountingWindow;
    w->SetQuitOnTeardown(true);
    auto* control = new TestControl(10, 10, 50, 50, true);
    control->captureOnMove = true;
    w->AddGraph(control);
    ASSERT_TRUE(w->Start());
    platform::NativeWindow* native = w->Native();

    std::vector<TestSprite*> sprites;
    for (int i = 0; i < 150; ++i) {
        os.Dispatch(native, {NativeEventType::MouseMove, 0, i % 80, i % 60});
        os.Dispatch(native, {NativeEventType::KeyDown, 9, 0, 0});
        os.Dispatch(native, {NativeEventType::ButtonDown, 1, i % 80, 20});
        os.Dispatch(native, {NativeEventType::Char, 'a', 0, 0});
        os.Pump();  // presents the game thread asked for
        w->Lock();  // drawables are used under their window's lock
        auto* s = new TestSprite(8, 8, 0, static_cast<uint8_t>(i), 255);
        s->SetPosition(static_cast<float>(i % 150), static_cast<float>(i % 100), static_cast<float>(i % 7));
        s->SetVelocity(0.5f, 0.25f, 0);
        w->AddGraph(s);
        sprites.push_back(s);
        if (i % 3 == 0) {
            sprites.front()->Destroy();
            sprites.erase(sprites.begin());
        } else if (i % 5 == 0) {
            w->RemoveGraph(sprites.front());
            sprites.front()->Destroy();
            sprites.erase(sprites.begin());
        }
        w->Unlock();
        if (i % 10 == 0) std::this_thread::sleep_for(1ms);
    }
    WaitForSteps(5);
    os.Dispatch(native, {NativeEventType::Close, 0, 0, 0});
    EXPECT_EQ(os.RunEventLoop(), 0);
    EXPECT_FALSE(OWindow::Exists(w));
    EXPECT_EQ(g_stops.load(), 1);
    EXPECT_EQ(g_deleted.load(), 1);
    for (TestSprite* s : sprites) EXPECT_FALSE(IsLive(s));
}

TEST_F(GameThreadTest, DialogWithItsOwnThreadPausesItsParentUntilItCloses) {
    auto* main = new CountingWindow;
    main->SetQuitOnTeardown(true);
    ASSERT_TRUE(main->Start());
    WaitForSteps(2);
    WindowDefaults::Current().width = 80;
    WindowDefaults::Current().height = 60;
    auto* dialog = new OWindow(main);
    dialog->SetFrameRate(12);
    ASSERT_TRUE(dialog->Start());
    EXPECT_TRUE(main->IsModalPaused());
    std::this_thread::sleep_for(30ms);
    dialog->Close();
    // Deliver the close, then wait until the dialog's thread has torn it down.
    for (int i = 0; i < 2000 && OWindow::Exists(dialog); ++i) {
        os.Pump();
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_FALSE(OWindow::Exists(dialog));
    EXPECT_FALSE(main->IsModalPaused());
    main->Close();
    EXPECT_EQ(os.RunEventLoop(), 0);
    EXPECT_FALSE(OWindow::Exists(main));
}

}  // namespace
