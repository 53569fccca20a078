// Two windows on their own game threads, each animating clips and drawing text at once: the shared
// text renderer, the live set and the pixel bookkeeping must hold up (run under ThreadSanitizer too).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"
#include "graphics/FontRecord.h"
#include "graphics/LiveSet.h"
#include "graphics/OBitmap.h"
#include "graphics/OClip.h"
#include "platform/HeadlessPlatform.h"
#include "tests/support/ClipFileBuilder.h"

namespace {

using namespace std::chrono_literals;

// A label: draws its text into the window's picture whenever it is composed.
class Label final : public OGraph {
  public:
    explicit Label(std::atomic<int>& draws) : draws_(draws) { SetSize(200, 40, 0); }
    void Draw(const ORect* rect) override {
        if (!Window() || !rect) return;
        WindowOf(this)->DrawText("Level 12 completed!!", font_, static_cast<int>(X()), static_cast<int>(Y()), *rect,
                           3, 7);
        draws_.fetch_add(1);
    }
    void Step(uint32_t) override {
        // Every step shows the label again, so every frame draws text.
        bool handled = false;
        NotifyChange(this, handled, kNotifyShown, nullptr);
    }

  private:
    graphics::FontRecord font_;
    std::atomic<int>& draws_;
};

class ThreadedWindow final : public OWindow {};

std::vector<uint8_t> LoopingClip() {
    testing_support::ClipFileBuilder b;
    b.Rate(50);
    for (int16_t i = 0; i < 4; ++i) {
        b.Picture(testing_support::PictureRecordBytes(20, 20, 0xFF00FF));
        b.Frame({0, 0, 0, i, i == 3 ? std::vector<int32_t>{3, 0} : std::vector<int32_t>{}});
    }
    return b.Build();
}

std::vector<uint8_t> OneShotClip() {
    testing_support::ClipFileBuilder b;
    b.Rate(50);
    b.Picture(testing_support::PictureRecordBytes(20, 20, 0xFF00FF));
    b.Frame({0, 0, 0, 0, {}}).Frame({0, 0, 0, 0, {2}});
    return b.Build();
}

TEST(ClipThreadsTest, TwoWindowsAnimateClipsAndDrawTextAtOnce) {
    platform::SteadyClock clock;
    platform::HeadlessPlatform os(640, 480);
    os.UseClock(&clock);
    engine::SetPlatform(&os);
    engine::SetGameThreads(true);
    WindowDefaults::Current() = WindowDefaults{};
    WindowDefaults::Current().width = 320;
    WindowDefaults::Current().height = 200;
    const size_t liveBefore = live_set::Count();
    const int buffersBefore = OBitmap::LivePixelBuffers();

    std::atomic<int> draws[2] = {0, 0};
    auto* main = new ThreadedWindow();
    main->SetQuitOnTeardown(true);
    auto* other = new ThreadedWindow();
    OWindow* windows[2] = {main, other};
    for (int k = 0; k < 2; ++k) {
        OWindow* w = windows[k];
        auto* prototype = new OClip();
        ASSERT_TRUE(prototype->LoadFromBytes(LoopingClip()));
        for (int i = 0; i < 6; ++i) {
            OGraph* copy = prototype->Clone();
            copy->SetPosition(static_cast<float>(i * 25), 10, 0);
            w->AddGraph(copy);
        }
        w->AddGraph(prototype);
        for (int i = 0; i < 3; ++i) {
            auto* shot = new OClip();
            ASSERT_TRUE(shot->LoadFromBytes(OneShotClip()));
            shot->SetPosition(static_cast<float>(i * 25), 60, 0);
            w->AddGraph(shot);
        }
        auto* label = new Label(draws[k]);
        label->SetPosition(10, 100, 0);
        w->AddGraph(label);
    }
    ASSERT_TRUE(main->Start());
    ASSERT_TRUE(other->Start());
    for (int i = 0; i < 3000 && (draws[0].load() < 20 || draws[1].load() < 20); ++i)
        std::this_thread::sleep_for(1ms);
    other->Close();
    std::thread closer([main] {
        std::this_thread::sleep_for(50ms);
        main->Close();
    });
    EXPECT_EQ(os.RunEventLoop(), 0);
    closer.join();
    EXPECT_GE(draws[0].load(), 20);
    EXPECT_GE(draws[1].load(), 20);
    EXPECT_EQ(live_set::Count(), liveBefore) << "every window destroyed its clips and copies";
    EXPECT_EQ(OBitmap::LivePixelBuffers(), buffersBefore);
    engine::SetPlatform(nullptr);
}

}  // namespace
