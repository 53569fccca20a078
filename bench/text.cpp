// Measuring and drawing a 20-character string, as the score and dialog texts do every time they
// are composed. Glyphs are cached after the first call, which is what the steady state measures.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/TextRenderer.h"

namespace {

constexpr const char* kText = "Level 12 completed!!";  // 20 characters

platform::TextStyle Style(int weight) {
    platform::TextStyle s;
    s.height = 18;
    s.weight = weight;
    return s;
}

void BM_Measure20Characters(benchmark::State& state) {
    auto style = Style(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(platform::TextRenderer::Shared().Measure(kText, style));
}
BENCHMARK(BM_Measure20Characters)->Arg(0)->Arg(800)->Unit(benchmark::kMicrosecond);

void BM_Draw20Characters(benchmark::State& state) {
    const int w = 750, h = 550, stride = w * 3 + 2;
    std::vector<uint8_t> picture(static_cast<size_t>(stride) * h, 0x80);
    platform::TextTarget target{picture.data(), w, h, stride, true};
    auto style = Style(static_cast<int>(state.range(0)));
    std::optional<uint32_t> box;
    if (state.range(1)) box = 0x000000;
    for (auto _ : state) {
        int width = platform::TextRenderer::Shared().Draw(kText, style, target, 100, 200, {0, 0, w, h},
                                                          0xFFFFFF, box);
        benchmark::DoNotOptimize(width);
    }
}
BENCHMARK(BM_Draw20Characters)->Args({0, 0})->Args({800, 0})->Args({0, 1})->Unit(benchmark::kMicrosecond);

void BM_FirstMeasureWithAFreshRenderer(benchmark::State& state) {
    for (auto _ : state) {
        platform::TextRenderer renderer;  // loads its fontconfig configuration, opens the face, renders the glyphs
        benchmark::DoNotOptimize(renderer.Measure(kText, Style(0)));
    }
}
BENCHMARK(BM_FirstMeasureWithAFreshRenderer)->Unit(benchmark::kMicrosecond);

}  // namespace
