// The picture side of the engine through its real classes: loading a clip file of 16 frames of
// 78 x 80 pixels from disk into an OClip (the size of the game's creature animations), and the
// window's text operations on a 20-character string.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "graphics/FontRecord.h"
#include "graphics/OClip.h"
#include "platform/HeadlessPlatform.h"
#include "tests/support/ClipFileBuilder.h"

namespace {

std::filesystem::path WriteSixteenFrameClip() {
    testing_support::ClipFileBuilder builder;
    builder.Rate(10.0f);
    for (int16_t i = 0; i < 16; ++i) {
        builder.Picture(testing_support::PictureRecordBytes(78, 80, 0xFF00FF));
        builder.Frame({0, 0, 0, i, i == 15 ? std::vector<int32_t>{3, 0} : std::vector<int32_t>{}});
    }
    const auto bytes = builder.Build();
    auto path = std::filesystem::temp_directory_path() / ("bench_oclip_" + std::to_string(getpid()) + ".clp");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

void BM_OClipLoad16Frames78x80FromDisk(benchmark::State& state) {
    const auto path = WriteSixteenFrameClip();
    for (auto _ : state) {
        auto* clip = new OClip();
        bool ok = clip->Load(path.string());
        benchmark::DoNotOptimize(ok);
        state.PauseTiming();
        if (!ok) state.SkipWithError("load failed");
        clip->Destroy();
        state.ResumeTiming();
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_OClipLoad16Frames78x80FromDisk)->Unit(benchmark::kMicrosecond);

class BenchWindow final : public OWindow {};

// A headless window of the game's size for the text operations.
struct HeadlessWindow {
    HeadlessWindow() {
        engine::SetPlatform(&os);
        engine::SetGameThreads(false);
        WindowDefaults::Current().width = 750;
        WindowDefaults::Current().height = 550;
        window = new BenchWindow();
    }
    ~HeadlessWindow() {
        window->RequestStop();
        window->Teardown();
        os.Pump();
        engine::SetPlatform(nullptr);
    }
    platform::HeadlessPlatform os{750, 550};
    OWindow* window = nullptr;
};

constexpr const char* kText = "Level 12 completed!!";  // 20 characters

void BM_WindowTextWidth20Characters(benchmark::State& state) {
    HeadlessWindow hw;
    graphics::FontRecord font;
    font.height = 18;
    font.weight = static_cast<int32_t>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(hw.window->TextWidth(kText, font));
}
BENCHMARK(BM_WindowTextWidth20Characters)->Arg(0)->Arg(800)->Unit(benchmark::kMicrosecond);

void BM_WindowDrawText20Characters(benchmark::State& state) {
    HeadlessWindow hw;
    graphics::FontRecord font;
    font.height = 18;
    font.colour = 0xFFFFFF;
    const int selection = static_cast<int>(state.range(0));
    for (auto _ : state) hw.window->DrawText(kText, font, 100, 200, {0, 0, 750, 550}, 6, 6 + selection);
}
BENCHMARK(BM_WindowDrawText20Characters)->Arg(0)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
