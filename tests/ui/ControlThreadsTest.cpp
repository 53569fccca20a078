// Controls used on the main thread while their window's game thread steps and composes them: the
// caret blinking, the looks changing and the text typed must not race (run under ThreadSanitizer too).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "graphics/LiveSet.h"
#include "platform/HeadlessPlatform.h"
#include "platform/HeadlessSoundPlayer.h"
#include "platform/ProgramPath.h"
#include "ui/OButton.h"
#include "ui/OCheckbox.h"
#include "ui/OEdit.h"

namespace {
using namespace std::chrono_literals;
using platform::NativeEvent;
using platform::NativeEventType;

class ThreadedWindow final : public OWindow {
  public:
    void OnCommand(int, int event) override {
        if (event == ControlEvent::Click) clicks.fetch_add(1);
    }
    std::atomic<int> clicks{0};
};

TEST(ControlThreadsTest, InputOnTheMainThreadWhileTheGameThreadStepsAndComposes) {
    platform::SteadyClock clock;
    platform::HeadlessPlatform os(640, 480);
    os.UseClock(&clock);
    engine::SetPlatform(&os);
    engine::SetGameThreads(true);
    const std::string savedDir = platform::ProgramDirectory();
    platform::SetProgramDirectoryForTesting(std::string(MARSHWADE_BINARY_DIR) + "/");
    platform::ManualClock soundClock;
    platform::HeadlessSoundPlayer sounds(soundClock);
    platform::SoundPlayer* previous = platform::SoundPlayer::SetShared(&sounds);
    WindowDefaults::Current() = WindowDefaults{};
    WindowDefaults::Current().width = 400;
    WindowDefaults::Current().height = 300;
    const size_t liveBefore = live_set::Count();

    auto* window = new ThreadedWindow();
    window->SetQuitOnTeardown(true);
    auto* button = new OButton("Go", "", 0, 1, 2, false);
    button->SetPosition(10, 10, 0);
    button->SetSounds("WAV\\over.wav", "WAV\\over.wav");
    auto* box = new OCheckbox("", "", false);
    box->SetPosition(10, 60, 0);
    auto* edit = new OEdit("", "", 0, 1, 2, true);
    edit->SetPosition(10, 120, 0);
    window->AddGraph(button);
    window->AddGraph(box);
    window->AddGraph(edit);
    ASSERT_TRUE(window->Start());

    auto send = [&](NativeEventType type, int code, int x, int y) {
        os.Dispatch(window->Native(), NativeEvent{type, code, x, y});
    };
    std::string typed;
    for (int round = 0; round < 40; ++round) {
        send(NativeEventType::MouseMove, 0, 30, 20);  // over the button
        send(NativeEventType::ButtonDown, 1, 30, 20);
        send(NativeEventType::ButtonUp, 1, 30, 20);
        send(NativeEventType::MouseMove, 0, 300, 250);
        send(NativeEventType::MouseMove, 0, 20, 70);  // over the box
        send(NativeEventType::ButtonDown, 1, 20, 70);
        send(NativeEventType::ButtonUp, 1, 20, 70);
        send(NativeEventType::MouseMove, 0, 300, 250);
        send(NativeEventType::MouseMove, 0, 50, 130);  // over the field: it takes the focus
        const char c = static_cast<char>('a' + round % 26);
        send(NativeEventType::Char, static_cast<uint8_t>(c), 0, 0);
        typed.push_back(c);
        send(NativeEventType::MouseMove, 0, 300, 250);
        std::this_thread::sleep_for(2ms);
    }
    EXPECT_EQ(edit->GetText(), typed);
    EXPECT_EQ(box->Index(), 0) << "forty clicks: back where it started";
    EXPECT_EQ(window->clicks.load(), 80);
    window->Close();
    EXPECT_EQ(os.RunEventLoop(), 0);
    EXPECT_EQ(live_set::Count(), liveBefore) << "the window destroyed every control and its parts";
    platform::SoundPlayer::SetShared(previous);
    platform::SetProgramDirectoryForTesting(savedDir);
    engine::SetPlatform(nullptr);
}

}  // namespace
