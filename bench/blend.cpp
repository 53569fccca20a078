// The blender against SDL's own blits on the same pixels, a whole-frame Compose, and memcpy of the
// same bytes as the bound no blit can beat.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "graphics/Blender.h"
#include "graphics/OpaqueRuns.h"
#include "graphics/OffscreenPicture.h"
#include "platform/HeadlessPlatform.h"
#include "platform/SdlBlitReference.h"
#include "tests/support/TestSprite.h"

namespace {

constexpr int kW = 78, kH = 80;
constexpr uint32_t kKey = 0xFF00FF;
constexpr int kDestW = 750, kDestH = 550;

// A 78 x 80 sprite: a filled ellipse of varied colours on the key, about 40 % key pixels.
// Rows are bottom-up, as pictures are stored.
struct Sprite {
    Sprite() : stride(OffscreenPicture::StrideFor(kW)), bits(static_cast<size_t>(stride) * kH + 4) {
        const double rx = 34.1, ry = 35.0, cx = kW / 2.0, cy = kH / 2.0;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                uint8_t* p = &bits[static_cast<size_t>(kH - 1 - y) * stride + static_cast<size_t>(x) * 3];
                double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
                if (dx * dx + dy * dy <= 1.0) {
                    p[0] = static_cast<uint8_t>(40 + x * 2);
                    p[1] = static_cast<uint8_t>(200 - y);
                    p[2] = static_cast<uint8_t>((x * y) & 0x7F);
                } else {
                    p[0] = 0xFF;
                    p[1] = 0x00;
                    p[2] = 0xFF;
                }
            }
        }
        runs.Build(bits.data(), kW, kH, stride, 24, kKey);
    }
    // Top-down view for SDL: the last memory row first, walking backwards.
    const uint8_t* TopRow() const { return bits.data() + static_cast<size_t>(kH - 1) * stride; }

    int stride;
    std::vector<uint8_t> bits;
    OpaqueRuns runs;
};

const Sprite& TheSprite() {
    static Sprite sprite;
    return sprite;
}

BlendJob JobAt(OffscreenPicture& picture, int x, int y, uint32_t t, bool withRuns) {
    const Sprite& s = TheSprite();
    BlendJob job;
    job.dst = picture.Row(y) + x * 3;
    job.dstStep = -picture.Stride();
    job.src = s.TopRow();
    job.srcStep = -s.stride;
    job.width = kW;
    job.rows = kH;
    job.key = kKey;
    job.transparency = t;
    if (withRuns) {
        job.runs = &s.runs;
        job.runRow = kH - 1;
        job.runStep = -1;
    }
    return job;
}

// The rule, pixel by pixel, for the check that the fast paths give exactly the same picture.
bool MatchesRule(uint32_t t) {
    OffscreenPicture fast(kDestW, kDestH, 0x336699), slow(kDestW, kDestH, 0x336699);
    fast.FillBackground({0, 0, kDestW, kDestH});
    slow.FillBackground({0, 0, kDestW, kDestH});
    Blender::Blend(JobAt(fast, 10, 10, t, true));
    const Sprite& s = TheSprite();
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const uint8_t* sp =
                &s.bits[static_cast<size_t>(kH - 1 - y) * s.stride + static_cast<size_t>(x) * 3];
            uint8_t* dp = slow.Row(10 + y) + (10 + x) * 3;
            if ((sp[0] | sp[1] << 8 | static_cast<uint32_t>(sp[2]) << 16) == kKey) continue;
            for (int c = 0; c < 3; ++c) dp[c] = t == 0 ? sp[c] : Blender::BlendChannel(sp[c], dp[c], t);
        }
    }
    return std::memcmp(fast.Bits(), slow.Bits(), static_cast<size_t>(fast.Stride()) * kDestH) == 0;
}

void PixelRate(benchmark::State& state) {
    state.counters["pixels/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kW * kH, benchmark::Counter::kIsRate);
}

void BM_BlendKeyed(benchmark::State& state, uint32_t t, bool withRuns) {
    if (!MatchesRule(t)) state.SkipWithError("blended pixels differ from the rule");
    OffscreenPicture picture(kDestW, kDestH, 0x336699);
    picture.FillBackground({0, 0, kDestW, kDestH});
    BlendJob job = JobAt(picture, 300, 200, t, withRuns);
    for (auto _ : state) {
        Blender::Blend(job);
        benchmark::ClobberMemory();
    }
    PixelRate(state);
}
BENCHMARK_CAPTURE(BM_BlendKeyed, opaque_runs, 0u, true);
BENCHMARK_CAPTURE(BM_BlendKeyed, t128_runs, 128u, true);
BENCHMARK_CAPTURE(BM_BlendKeyed, opaque_scanning, 0u, false);
BENCHMARK_CAPTURE(BM_BlendKeyed, t128_scanning, 128u, false);

void BM_SdlBlit(benchmark::State& state, bool alpha) {
    const Sprite& s = TheSprite();
    platform::SdlBlitReference sdl(s.TopRow(), kW, kH, -s.stride, kKey, kDestW, kDestH, 128);
    if (!sdl.Ok()) state.SkipWithError("SDL surfaces could not be made");
    sdl.ClearDest(0x66);
    for (auto _ : state) {
        if (alpha)
            sdl.BlitKeyedAlpha(300, 200);
        else
            sdl.BlitKeyed(300, 200);
        benchmark::ClobberMemory();
    }
    PixelRate(state);
}
BENCHMARK_CAPTURE(BM_SdlBlit, keyed_rle, false);
BENCHMARK_CAPTURE(BM_SdlBlit, keyed_alpha128, true);

void BM_MemcpySprite(benchmark::State& state) {
    const Sprite& s = TheSprite();
    OffscreenPicture picture(kDestW, kDestH, 0);
    for (auto _ : state) {
        for (int y = 0; y < kH; ++y)
            std::memcpy(picture.Row(200 + y) + 900, &s.bits[static_cast<size_t>(y) * s.stride], kW * 3);
        benchmark::ClobberMemory();
    }
    PixelRate(state);
}
BENCHMARK(BM_MemcpySprite);

// A 750 x 550 scene: a full-window opaque background and 60 keyed sprites over it.
class Scene {
  public:
    Scene() {
        Engine::SetPlatform(&os);
        Engine::SetGameThreads(false);
        WindowDefaults& d = WindowDefaults::Current();
        d.background = 0xD0A743;
        d.style = 3;
        d.width = kDestW;
        d.height = kDestH;
        window = new OWindow();
        auto* background = new TestSprite(kDestW, kDestH, 30, 120, 60);
        background->SetColourKey(kKey);
        background->UseRuns();  // as a loaded bitmap has its mask
        background->SetPosition(0, 0, 100);
        window->AddGraph(background);
        for (int i = 0; i < 60; ++i) {
            auto* s = new TestSprite(kW, kH, 0, 0, 0);
            for (int y = 0; y < kH; ++y) {
                for (int x = 0; x < kW; ++x) {
                    const uint8_t* p =
                        TheSprite().TopRow() - static_cast<ptrdiff_t>(y) * TheSprite().stride + x * 3;
                    s->SetPixel(x, y, p[0], p[1], p[2]);
                }
            }
            s->SetColourKey(kKey);
            s->UseRuns();
            s->SetPosition(static_cast<float>((i % 10) * 67), static_cast<float>((i / 10) * 78), 0);
            if (i % 2) s->SetTransparency(128);
            window->AddGraph(s);
            sprites.push_back(s);
        }
        window->Compose();
    }
    ~Scene() {
        window->RequestStop();
        window->Teardown();
        os.Pump();
        Engine::SetPlatform(nullptr);
    }

    platform::HeadlessPlatform os{1024, 768};
    OWindow* window = nullptr;
    std::vector<TestSprite*> sprites;
};

void BM_ComposeWholeFrame(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.window->AddDirtyRect({0, 0, kDestW, kDestH});
        scene.window->Compose();
    }
}
BENCHMARK(BM_ComposeWholeFrame)->Unit(benchmark::kMicrosecond);

void BM_ComposeMovingSprites(benchmark::State& state) {
    Scene scene;
    int step = 0;
    for (auto _ : state) {
        ++step;
        for (TestSprite* s : scene.sprites) s->MoveBy((step & 1) ? 1.0f : -1.0f, 0, 0);
        scene.window->Compose();
    }
}
BENCHMARK(BM_ComposeMovingSprites)->Unit(benchmark::kMicrosecond);

void BM_MemcpyWholeFrame(benchmark::State& state) {
    std::vector<uint8_t> from(static_cast<size_t>(kDestW) * kDestH * 3, 1), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyWholeFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
