// The blender against SDL's own blits on the same pixels, a whole-frame Compose, and memcpy of the
// same bytes as the bound no blit can beat. The compositions state their processor time as a
// multiple of one memcpy of the frame, measured in the same run ("x_memcpy").
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "bench/MemcpyReference.h"
#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "graphics/Blender.h"
#include "graphics/OBitmap.h"
#include "graphics/OffscreenPicture.h"
#include "graphics/OpaqueRuns.h"
#include "platform/HeadlessPlatform.h"
#include "platform/SdlBlitReference.h"

namespace {

using bench_support::TimedAgainstMemcpy;

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
    blender::Blend(JobAt(fast, 10, 10, t, true));
    const Sprite& s = TheSprite();
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const uint8_t* sp =
                &s.bits[static_cast<size_t>(kH - 1 - y) * s.stride + static_cast<size_t>(x) * 3];
            uint8_t* dp = slow.Row(10 + y) + (10 + x) * 3;
            if ((sp[0] | sp[1] << 8 | static_cast<uint32_t>(sp[2]) << 16) == kKey) continue;
            for (int c = 0; c < 3; ++c) dp[c] = t == 0 ? sp[c] : blender::BlendChannel(sp[c], dp[c], t);
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
        blender::Blend(job);
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

OBitmap* MakeBitmap(int w, int h, const std::function<void(int x, int y, uint8_t* bgr)>& pixel) {
    graphics::Picture p;
    p.width = w;
    p.height = h;  // bottom-up, as the game's pictures
    p.colourKey = kKey;
    p.bitsPerPixel = 24;
    p.stride = static_cast<uint32_t>(OffscreenPicture::StrideFor(w));
    p.bits.assign(p.ImageSize() + graphics::Picture::kSpareBytes, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixel(x, y, &p.bits[static_cast<size_t>(h - 1 - y) * p.stride + static_cast<size_t>(x) * 3]);
    auto* b = new OBitmap();
    b->LoadFromPicture(std::move(p));
    return b;
}

// The scene of the whole-frame benchmark, 750 x 550, as the game builds its own: a window-sized
// opaque background bitmap far behind, and 60 keyed sprites over it, every second one at
// transparency 128.
class Scene {
  public:
    explicit Scene(bool skipHidden) {
        engine::SetPlatform(&os);
        engine::SetGameThreads(false);
        WindowDefaults& d = WindowDefaults::Current();
        d.background = 0xD0A743;
        d.style = 3;
        d.width = kDestW;
        d.height = kDestH;
        window = new OWindow();
        window->Scene().SetSkipHidden(skipHidden);
        OBitmap* background = MakeBitmap(kDestW, kDestH, [](int x, int y, uint8_t* p) {
            p[0] = static_cast<uint8_t>(30 + x % 13);
            p[1] = static_cast<uint8_t>(120 + y % 7);
            p[2] = 60;
        });
        background->SetPosition(0, 0, 100);
        window->AddGraph(background);
        for (int i = 0; i < 60; ++i) {
            OBitmap* s = MakeBitmap(kW, kH, [](int x, int y, uint8_t* p) {
                std::memcpy(p, TheSprite().TopRow() - static_cast<ptrdiff_t>(y) * TheSprite().stride + x * 3,
                            3);
            });
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
        engine::SetPlatform(nullptr);
    }
    std::vector<uint8_t> Pixels() const {
        const OffscreenPicture* p = window->GetPicture();
        return {p->Bits(), p->Bits() + static_cast<size_t>(p->Stride()) * p->Height()};
    }

    platform::HeadlessPlatform os{1024, 768};
    OWindow* window = nullptr;
    std::vector<OBitmap*> sprites;
};

// The same scene composed with and without skipping what the background hides gives the same pixels.
bool BothWaysAlike() {
    std::vector<uint8_t> skipping, plain;
    {
        Scene scene(true);
        scene.window->AddDirtyRect({0, 0, kDestW, kDestH});
        scene.window->Compose();
        skipping = scene.Pixels();
    }
    {
        Scene scene(false);
        scene.window->AddDirtyRect({0, 0, kDestW, kDestH});
        scene.window->Compose();
        plain = scene.Pixels();
    }
    return skipping == plain;
}

// skipHidden false: every dirty area cleared to the background colour and every drawable in it drawn,
// as before the composition learnt to start at the front-most opaque bitmap.
void BM_ComposeWholeFrame(benchmark::State& state, bool skipHidden) {
    if (!BothWaysAlike()) state.SkipWithError("the two ways of composing give different pixels");
    Scene scene(skipHidden);
    TimedAgainstMemcpy(state, [&] {
        scene.window->AddDirtyRect({0, 0, kDestW, kDestH});
        scene.window->Compose();
    });
}
BENCHMARK_CAPTURE(BM_ComposeWholeFrame, skipping_hidden, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ComposeWholeFrame, clearing_first, false)->Unit(benchmark::kMicrosecond);

void BM_ComposeMovingSprites(benchmark::State& state, bool skipHidden) {
    Scene scene(skipHidden);
    int step = 0;
    TimedAgainstMemcpy(state, [&] {
        ++step;
        for (OBitmap* s : scene.sprites) s->MoveBy((step & 1) ? 1.0f : -1.0f, 0, 0);
        scene.window->Compose();
    });
}
BENCHMARK_CAPTURE(BM_ComposeMovingSprites, skipping_hidden, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ComposeMovingSprites, clearing_first, false)->Unit(benchmark::kMicrosecond);

// What the scene's sprites cost at the least: the opaque runs of the 60 sprites, each from a picture of
// its own as the scene's bitmaps are, copied into a frame by the library's memcpy at the scene's
// places, nothing blended and no engine around it. With a whole-frame copy of the background (one
// memcpy) this is the floor under any composition of the scene that draws back to front.
void BM_SpriteRunsByMemcpy(benchmark::State& state) {
    const Sprite& s = TheSprite();
    std::vector<std::vector<uint8_t>> pictures(60, s.bits);
    OffscreenPicture frame(kDestW, kDestH, 0);
    TimedAgainstMemcpy(state, [&] {
        for (int i = 0; i < 60; ++i) {
            const int left = (i % 10) * 67, top = (i / 10) * 78;
            for (int y = 0; y < kH && top + y < kDestH; ++y) {
                const int32_t row = kH - 1 - y;
                const uint8_t* from =
                    pictures[static_cast<size_t>(i)].data() + static_cast<size_t>(row) * s.stride;
                uint8_t* to = frame.Row(top + y) + left * 3;
                for (const OpaqueRuns::Run* r = s.runs.RowBegin(row); r != s.runs.RowEnd(row); ++r)
                    std::memcpy(to + r->byteOffset, from + r->byteOffset, r->byteCount);
            }
        }
        benchmark::ClobberMemory();
    });
}
BENCHMARK(BM_SpriteRunsByMemcpy)->Unit(benchmark::kMicrosecond);

void BM_MemcpyWholeFrame(benchmark::State& state) {
    std::vector<uint8_t> from(static_cast<size_t>(kDestW) * kDestH * 3, 1), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyWholeFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
