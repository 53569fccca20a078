// The trace the measurement scripts read: one line per moment, nothing when it is off.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>

#include "platform/TimingTrace.h"

namespace {

TEST(TimingTrace, OnItWritesTheEventAndTheWallClockInMicrosecondsOffNothing) {
    namespace pt = platform::trace;
    const bool was = pt::Enabled();
    pt::SetEnabledForTesting(false);
    testing::internal::CaptureStderr();
    pt::Mark("quiet");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    pt::SetEnabledForTesting(true);
    const auto before = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    testing::internal::CaptureStderr();
    pt::Mark("compose game");
    const std::string line = testing::internal::GetCapturedStderr();
    pt::SetEnabledForTesting(was);

    std::istringstream in(line);
    std::string tag, event, thread;
    long long us = 0;
    in >> tag >> event >> thread >> us;
    EXPECT_EQ(tag, "marshwade-trace");
    EXPECT_EQ(event + " " + thread, "compose game");
    EXPECT_GE(us, before);
    EXPECT_LT(us, before + 10'000'000);
    EXPECT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);
}

}  // namespace
