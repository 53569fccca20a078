// Presenting a composed picture, both ways a window can do it: through the window's own framebuffer
// (the default) and through SDL's renderer and a streaming texture. SDL's dummy video driver stands in
// for the display, so what is measured is this process's own work for a present, the same on any
// machine: on a desktop the renderer's drawing goes on in the graphics driver on top of it. Figures
// are multiples of one memcpy of the frame ("x_memcpy").
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/MemcpyReference.h"
#include "graphics/OffscreenPicture.h"
#include "platform/SdlPlatform.h"

namespace {

using bench_support::TimedAgainstMemcpy;

constexpr int kW = 750, kH = 550;

struct Presenting {
    explicit Presenting(platform::PresentMode mode, const char* scale = "1") {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        os = std::make_unique<platform::SdlPlatform>(mode);
        os->SetScale(scale);
        picture.FillBackground({0, 0, kW, kH});
        for (int y = 0; y < kH; y += 3) picture.Row(y)[y % (kW * 3)] = 0x7F;  // not one flat colour
        if (!os->Ready()) return;
        platform::NativeWindowSpec options;
        options.width = kW;
        options.height = kH;
        options.borderless = true;
        window = os->CreateNativeWindow(options);
    }
    ~Presenting() {
        if (window) os->DestroyNativeWindow(window);
    }

    std::unique_ptr<platform::SdlPlatform> os;
    OffscreenPicture picture{1024, 768, 0xD0A743};
    platform::NativeWindow* window = nullptr;
};

void BM_PresentWholeFrame(benchmark::State& state, platform::PresentMode mode) {
    Presenting p(mode);
    if (!p.window) {
        state.SkipWithError("no window on SDL's dummy video driver");
        return;
    }
    const std::vector<platform::Rect> whole{{0, 0, kW, kH}};
    TimedAgainstMemcpy(state, [&] { p.window->Present(p.picture.View(), whole); });
}
BENCHMARK_CAPTURE(BM_PresentWholeFrame, surface, platform::PresentMode::Surface)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PresentWholeFrame, renderer, platform::PresentMode::Renderer)
    ->Unit(benchmark::kMicrosecond);

// A frame of the game at play: a dozen creature-sized rectangles changed.
void BM_PresentPlayingFrame(benchmark::State& state, platform::PresentMode mode) {
    Presenting p(mode);
    if (!p.window) {
        state.SkipWithError("no window on SDL's dummy video driver");
        return;
    }
    std::vector<platform::Rect> rects;
    for (int i = 0; i < 12; ++i)
        rects.push_back({(i * 61) % 670, (i * 43) % 470, (i * 61) % 670 + 80, (i * 43) % 470 + 80});
    TimedAgainstMemcpy(state, [&] { p.window->Present(p.picture.View(), rects); });
}
BENCHMARK_CAPTURE(BM_PresentPlayingFrame, surface, platform::PresentMode::Surface)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PresentPlayingFrame, renderer, platform::PresentMode::Renderer)
    ->Unit(benchmark::kMicrosecond);

// The same playing frame on a large screen: each dirty rectangle scaled by a whole number, nearest
// pixel, into the framebuffer. The framebuffer is scale x scale times the frame, so the work grows
// with the square of the scale; x_memcpy stays against a copy of one unscaled frame.
void BM_PresentScaledPlayingFrame(benchmark::State& state) {
    const std::string scale = std::to_string(state.range(0));
    Presenting p(platform::PresentMode::Surface, scale.c_str());
    if (!p.window) {
        state.SkipWithError("no window on SDL's dummy video driver");
        return;
    }
    std::vector<platform::Rect> rects;
    for (int i = 0; i < 12; ++i)
        rects.push_back({(i * 61) % 670, (i * 43) % 470, (i * 61) % 670 + 80, (i * 43) % 470 + 80});
    p.window->Present(p.picture.View(), rects);  // the first present of a framebuffer copies it all
    TimedAgainstMemcpy(state, [&] { p.window->Present(p.picture.View(), rects); });
}
BENCHMARK(BM_PresentScaledPlayingFrame)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

// The same on a large screen with the picture composed from the art drawn at the window's scale: it
// has that many pixels each way already, so each rectangle is copied one to one.
void BM_PresentDetailedPlayingFrame(benchmark::State& state) {
    const int32_t detail = static_cast<int32_t>(state.range(0));
    const std::string scale = std::to_string(detail);
    Presenting p(platform::PresentMode::Surface, scale.c_str());
    if (!p.window) {
        state.SkipWithError("no window on SDL's dummy video driver");
        return;
    }
    OffscreenPicture picture(kW * detail, kH * detail, 0xD0A743);
    picture.FillBackground({0, 0, kW * detail, kH * detail});
    platform::PictureView view = picture.View();
    view.detail = detail;
    std::vector<platform::Rect> rects;
    for (int i = 0; i < 12; ++i)
        rects.push_back({(i * 61) % 670, (i * 43) % 470, (i * 61) % 670 + 80, (i * 43) % 470 + 80});
    p.window->Present(view, rects);
    TimedAgainstMemcpy(state, [&] { p.window->Present(view, rects); });
}
BENCHMARK(BM_PresentDetailedPlayingFrame)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
