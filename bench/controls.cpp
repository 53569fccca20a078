// The controls through their real classes in a headless window: typing into an edit field (every
// keystroke measures the text's prefixes to place the caret, then composes), a button's hover in and
// out with its compositions, and laying out a paragraph word by word.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "platform/HeadlessPlatform.h"
#include "platform/HeadlessSoundPlayer.h"
#include "platform/ProgramPath.h"
#include "ui/OButton.h"
#include "ui/OEdit.h"
#include "ui/OLongText.h"
#include "ui/OText.h"

namespace {

class BenchWindow final : public OWindow {};

// A headless window of the game's size, the program folder at the build folder (for the generated
// default looks) and a silent sound player.
struct HeadlessWindow {
    HeadlessWindow() {
        engine::SetPlatform(&os);
        engine::SetGameThreads(false);
        platform::SetProgramDirectoryForTesting(std::string(MARSHWADE_BINARY_DIR) + "/");
        previous = platform::SoundPlayer::SetShared(&sounds);
        WindowDefaults::Current().width = 750;
        WindowDefaults::Current().height = 550;
        window = new BenchWindow();
        window->Start();
    }
    ~HeadlessWindow() {
        window->RequestStop();
        window->Teardown();
        os.Pump();
        platform::SoundPlayer::SetShared(previous);
        engine::SetPlatform(nullptr);
    }
    platform::HeadlessPlatform os{750, 550};
    platform::HeadlessSoundPlayer sounds{os.Manual()};
    platform::SoundPlayer* previous = nullptr;
    OWindow* window = nullptr;
};

void BM_EditTypeAndEraseOneCharacter(benchmark::State& state) {
    HeadlessWindow hw;
    auto* edit = new OEdit(std::string(static_cast<size_t>(state.range(0)), 'm'), "", 0, 1, 2, true);
    edit->SetPosition(100, 100, 0);
    hw.window->AddGraph(edit);
    hw.window->FocusGraph(edit);
    for (auto _ : state) {
        hw.window->OnChar('x');
        hw.window->OnPress(8, 0, 0);
        hw.window->OnRelease(8, 0, 0);
        hw.window->Compose();
    }
}
BENCHMARK(BM_EditTypeAndEraseOneCharacter)->Arg(0)->Arg(20)->Arg(60)->Unit(benchmark::kMicrosecond);

void BM_ButtonHoverInAndOut(benchmark::State& state) {
    HeadlessWindow hw;
    auto* button = new OButton("Play", "", 0, 1, 2, true);
    button->SetPosition(100, 100, 0);
    hw.window->AddGraph(button);
    hw.window->Compose();
    for (auto _ : state) {
        hw.window->OnMouseMove(120, 110);
        hw.window->OnMouseMove(400, 400);
    }
}
BENCHMARK(BM_ButtonHoverInAndOut)->Unit(benchmark::kMicrosecond);

void BM_LayOutFortyWords(benchmark::State& state) {
    HeadlessWindow hw;
    std::string text;
    for (int i = 0; i < 40; ++i) text += (i % 3 == 0) ? "lily " : (i % 3 == 1) ? "leaves " : "sinking ";
    for (auto _ : state) {
        OLongText record(hw.window);
        record.right = 560;
        record.align = 3;
        std::vector<OText*> words = record.LayOut(text);
        state.PauseTiming();
        for (OText* word : words) word->Destroy();
        hw.window->Compose();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LayOutFortyWords)->Unit(benchmark::kMicrosecond);

}  // namespace
