// The soak with the program's own threads: the game window and every dialog step and compose on
// their game threads at their own pace while this thread, playing the main thread, delivers random
// input to whichever window is there and looks at the pond under the game window's lock. A few
// seconds of it, run under ThreadSanitizer too: no crash, no race, no lock taken in two orders, and
// the pond's invariants hold whenever the game lets go of its lock.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <random>
#include <thread>
#include <vector>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/VirtualKey.h"
#include "engine/WindowRegistry.h"
#include "game/GameRandom.h"
#include "game/GameState.h"
#include "windows/OGameWindow.h"
#include "graphics/OGraph.h"
#include "platform/HeadlessPlatform.h"
#include "platform/HeadlessSoundPlayer.h"
#include "game/SavedGame.h"
#include "tests/soak/SoakInvariants.h"
#include "tests/soak/SoakProfiles.h"
#include "tests/soak/SoakProgram.h"

namespace {

using namespace std::chrono_literals;
using platform::NativeEventType;

class SoakThreadsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        os.UseClock(&clock);
        engine::SetPlatform(&os);
        engine::SetGameThreads(true);
        previousSound = platform::SoundPlayer::SetShared(&sounds);
        game_random::FixSeed(11);
    }
    void TearDown() override {
        // Every window stops; their threads tear them down and hand the native windows back to this
        // thread, which must go on delivering events until the last thread has ended.
        window_registry::RequestStopAll();
        for (int i = 0; i < 5000 && window_registry::RunningGameThreads() > 0; ++i) {
            os.Pump();
            std::this_thread::sleep_for(1ms);
        }
        os.Pump();
        EXPECT_EQ(window_registry::RunningGameThreads(), 0u);
        game_random::FixSeed(std::nullopt);
        platform::SoundPlayer::SetShared(previousSound);
        engine::SetPlatform(nullptr);
    }

    // A new game window, started on its own thread.
    OGameWindow* StartGame() {
        ForgetSaveOfThisRunForTesting();
        OGameWindow::UseGameWindowDefaults();
        auto* game = new OGameWindow();
        EXPECT_FALSE(game->CreationFailed());
        EXPECT_TRUE(game->Start());
        return game;
    }

    int Below(int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); }

    // Where a click on one of the window's controls would land, read under its lock; none when the
    // window has none or is gone.
    bool ControlPoint(platform::HeadlessNativeWindow& native, int& x, int& y) {
        OWindow* w = window_registry::Pin(static_cast<OWindow*>(native.UserData()));
        if (!w) return false;
        w->Lock();
        const auto& controls = w->Controls();
        const bool found = !controls.empty();
        if (found) {
            const ORect b = controls[static_cast<size_t>(Below(static_cast<int>(controls.size())))]->Bounds();
            x = (b.left + b.right) / 2;
            y = (b.top + b.bottom) / 2;
        }
        w->Unlock();
        window_registry::Unpin(w);
        return found;
    }

    // One random input to one of the native windows, as the event loop hands it over.
    void RandomInput() {
        const std::vector<platform::HeadlessNativeWindow*> natives = os.Windows();
        if (natives.empty()) return;
        // Mostly the newest window, the one in front.
        platform::HeadlessNativeWindow* native =
            Below(4) == 0 ? natives[static_cast<size_t>(Below(static_cast<int>(natives.size())))]
                          : natives.back();
        int32_t w = 0, h = 0;
        native->ClientSize(w, h);
        int x = Below(std::max(w, 1)), y = Below(std::max(h, 1));
        auto send = [&](NativeEventType type, int code) {
            native->SetCursor(x, y);
            os.Dispatch(native, {type, code, x, y});
            os.Pump();
        };
        static constexpr int kKeys[] = {vk::kLeft, vk::kUp,  vk::kRight, vk::kDown,  vk::kSpace,
                                        'P',       vk::kTab, vk::kEnter, vk::kEscape};
        switch (Below(8)) {
            case 0:
            case 1:
            case 2: {
                const int key = kKeys[Below(9)];
                send(NativeEventType::KeyDown, key);
                if (os.Exists(native)) send(NativeEventType::KeyUp, key);
                break;
            }
            case 3:
            case 4:
                if (!ControlPoint(*native, x, y)) break;
                [[fallthrough]];
            case 5:
                send(NativeEventType::MouseMove, 0);
                if (os.Exists(native)) send(NativeEventType::ButtonDown, vk::kLeftButton);
                if (os.Exists(native)) send(NativeEventType::ButtonUp, vk::kLeftButton);
                break;
            case 6:
                send(NativeEventType::Char, 'a' + Below(26));
                break;
            default:
                send(NativeEventType::FocusChanged, Below(4) != 0);
                break;
        }
    }

    // The pond and the flow under the game window's lock, so the game thread is between two steps.
    void CheckGame(OGameWindow* game) {
        OWindow* pinned = window_registry::Pin(game);
        if (!pinned) return;
        pinned->Lock();
        if (!pinned->IsStopping()) {
            std::vector<std::string> broken = SoakInvariants::CheckPond();
            const int32_t pending = TheGameState().pendingDialog;
            if (pending < kNoDialog || pending > kLevelOpen)
                broken.push_back("the pending dialog is " + std::to_string(pending));
            for (const std::string& line : broken) ADD_FAILURE() << line;
            failures += static_cast<int>(broken.size());
        }
        pinned->Unlock();
        window_registry::Unpin(pinned);
    }

    platform::SteadyClock clock;
    platform::HeadlessPlatform os{1024, 768};
    platform::ManualClock soundClock;
    platform::HeadlessSoundPlayer sounds{soundClock};
    platform::SoundPlayer* previousSound = nullptr;
    std::mt19937 random{11};
    int failures = 0;
};

TEST_F(SoakThreadsTest, TheGameOnItsOwnThreadsTakesRandomInputForSecondsWithoutBreakingAnything) {
    SoakProgram program;
    program.UseSettings(SoakProfiles()[1].settings);  // quick levels
    OGameWindow* game = StartGame();
    int starts = 1, inputs = 0;
    // Three seconds of play and a hundred and fifty inputs at least, however slowly a loaded machine
    // or a sanitizer lets the threads run: how many inputs fit in the seconds is not the point.
    constexpr int kLeastInputs = 150;
    const auto end = std::chrono::steady_clock::now() + 3s;
    while ((std::chrono::steady_clock::now() < end || inputs < kLeastInputs) && failures < 5) {
        if (!OWindow::Exists(game)) {
            // The player quit: the program is started again once the last thread has let go.
            if (window_registry::RunningGameThreads() > 0) {
                os.Pump();
                std::this_thread::sleep_for(1ms);
                continue;
            }
            game = StartGame();
            ++starts;
        }
        RandomInput();
        ++inputs;
        if (inputs % 8 == 0) CheckGame(game);
        std::this_thread::sleep_for(std::chrono::microseconds(200 + Below(3000)));
    }
    std::cout << "threaded soak: " << inputs << " inputs, " << starts << " starts\n";
}

}  // namespace
