// The score windows on their own game threads: the clear confirmation clears the file from the main
// thread and the table window empties its rows while it steps and composes them, with no lock taken
// in two orders (run under ThreadSanitizer).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/VirtualKey.h"
#include "engine/WindowDefaults.h"
#include "platform/HeadlessPlatform.h"
#include "platform/HeadlessSoundPlayer.h"
#include "windows/OWndScores.h"
#include "windows/OWndScoresClear.h"
#include "storage/TScoresTable.h"
#include "tests/windows/ProgramFolder.h"
#include "ui/DialogSize.h"
#include "ui/OButton.h"

namespace {
using namespace std::chrono_literals;
using platform::NativeEvent;
using platform::NativeEventType;

class Parent final : public OWindow {};

TEST(ScoreThreadsTest, ClearFromTheConfirmationWhileTheTableStepsOnItsThread) {
    ProgramFolder program;
    platform::SteadyClock clock;
    platform::HeadlessPlatform os(1024, 768);
    os.UseClock(&clock);
    engine::SetPlatform(&os);
    engine::SetGameThreads(true);
    platform::ManualClock soundClock;
    platform::HeadlessSoundPlayer sounds(soundClock);
    platform::SoundPlayer* previous = platform::SoundPlayer::SetShared(&sounds);
    WindowDefaults::Current() = WindowDefaults{};
    WindowDefaults::Current().width = 750;
    WindowDefaults::Current().height = 550;

    auto send = [&](OWindow* w, NativeEventType type, int code = 0, int x = 0, int y = 0) {
        os.Dispatch(w->Native(), NativeEvent{type, code, x, y});
    };
    auto click = [&](OWindow* w, const OGraph* control) {
        const int x = static_cast<int>(control->X() + control->Width() / 2);
        const int y = static_cast<int>(control->Y() + control->Height() / 2);
        for (int i = 0; i < 2; ++i) send(w, NativeEventType::MouseMove, 0, x, y);
        send(w, NativeEventType::ButtonDown, 1, x, y);
        send(w, NativeEventType::ButtonUp, 1, x, y);
    };
    auto waitUntilGone = [&](OWindow* w) {
        for (int i = 0; i < 1000 && OWindow::Exists(w); ++i) {
            os.Pump();
            std::this_thread::sleep_for(2ms);
        }
        return !OWindow::Exists(w);
    };

    auto* parent = new Parent();
    parent->SetQuitOnTeardown(true);
    ASSERT_TRUE(parent->Start());
    for (int round = 0; round < 5; ++round) {
        TScoresTable table;
        for (int i = 0; i < 12; ++i)
            table.AddLine("2004-7-5\tP" + std::to_string(i) + "\t1\t" + std::to_string(i));
        ASSERT_TRUE(table.SaveTable(program.File("table.dat")));

        OWndScores* scores = nullptr;
        {
            DialogSize size(OWndScores::kWidth, OWndScores::kHeight);
            scores = new OWndScores(parent);
        }
        ASSERT_TRUE(scores->Start());
        // Made here rather than by a click on Clear: a window that opens a dialog in its handler
        // holds its own lock while the dialog's is taken, and the dialog's end takes them the other
        // way round (the engine's, on the main thread alone); this test is about the clear.
        OWndScoresClear* confirm = nullptr;
        {
            DialogSize size(OWndScoresClear::kWidth, OWndScoresClear::kHeight);
            confirm = new OWndScoresClear(scores);
        }
        ASSERT_TRUE(confirm->Start());
        std::this_thread::sleep_for(5ms);
        click(confirm, confirm->YesButton());
        ASSERT_TRUE(waitUntilGone(confirm));

        // The table window empties its rows on its own thread, at its next frame step.
        bool cleared = false;
        for (int i = 0; i < 1000 && !cleared; ++i) {
            scores->Lock();
            cleared = scores->NameRow(0)->GetText().empty() && scores->Table().records.empty();
            scores->Unlock();
            if (!cleared) std::this_thread::sleep_for(2ms);
        }
        EXPECT_TRUE(cleared);
        send(scores, NativeEventType::KeyDown, vk::kEscape);
        ASSERT_TRUE(waitUntilGone(scores));
    }
    parent->Close();
    EXPECT_EQ(os.RunEventLoop(), 0);
    platform::SoundPlayer::SetShared(previous);
    engine::SetPlatform(nullptr);
}

}  // namespace
