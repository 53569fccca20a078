#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(ClockTest, ManualClockDifferencesSurviveTheWrap) {
    platform::ManualClock clock(0xFFFFFFF0u);
    uint32_t before = clock.NowMs();
    clock.Advance(0x20);
    EXPECT_EQ(clock.NowMs(), 0x10u);
    EXPECT_EQ(clock.NowMs() - before, 0x20u);
}

TEST(ClockTest, SteadyClockNeverRunsBackwards) {
    platform::SteadyClock clock;
    uint32_t a = clock.NowMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    uint32_t b = clock.NowMs();
    EXPECT_GE(b - a, 2u);
    EXPECT_LT(b - a, 1000u);
}

}  // namespace
