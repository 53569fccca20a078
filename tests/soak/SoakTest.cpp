// The soak: the real game played headless by random input, every invariant checked after every frame
// step. A short soak runs with the other tests; the long one runs on request:
//   MARSHWADE_SOAK_STEPS=1000000 soak_test --gtest_filter='*OnRequest*'   (or: make soak)
// MARSHWADE_SOAK_SEED chooses the first seed (1 by default); each seed plays up to
// MARSHWADE_SOAK_STEPS_PER_SEED steps (100000 by default) before the next seed takes over. A failure
// names its seed and step: the same two values play the same game up to it again, and with
// MARSHWADE_SOAK_TRACE set every step's game state and every input event is written to standard error.
// MARSHWADE_SOAK_SHOTS=FOLDER writes every window's picture there every 2500 steps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "tests/soak/SoakDriver.h"

namespace {

int64_t FromEnvironment(const char* name, int64_t fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    return end && *end == '\0' && value > 0 ? value : fallback;
}

// Plays `seeds` seeds from `firstSeed` on, `total` steps in all, `perSeed` at most each.
SoakFigures Soak(uint32_t firstSeed, int64_t total, int64_t perSeed) {
    SoakFigures all;
    for (uint32_t seed = firstSeed; total > 0; ++seed) {
        const int64_t steps = std::min(total, perSeed);
        SoakDriver driver(seed);
        std::string failure;
        const bool ok = driver.Run(steps, failure);
        all.Add(driver.Figures());
        EXPECT_TRUE(ok) << failure;
        if (!ok) break;
        total -= steps;
    }
    return all;
}

// Seconds of play, also in the sanitizers' slower builds.
#ifdef MARSHWADE_SOAK_SANITIZED
constexpr int64_t kShortSeeds = 5, kShortStepsPerSeed = 200;
#else
constexpr int64_t kShortSeeds = 5, kShortStepsPerSeed = 2000;
#endif

TEST(SoakTest, ShortSoaksOfSeveralSeedsKeepEveryInvariant) {
    const SoakFigures figures = Soak(1, kShortSeeds * kShortStepsPerSeed, kShortStepsPerSeed);
    std::cout << "soak: " << figures.Text() << "\n";
    EXPECT_EQ(figures.steps, kShortSeeds * kShortStepsPerSeed);
    EXPECT_GT(figures.dialogs, 0);
}

TEST(SoakTest, LongSoakOnRequest) {
    const int64_t total = FromEnvironment("MARSHWADE_SOAK_STEPS", 0);
    if (total == 0) GTEST_SKIP() << "set MARSHWADE_SOAK_STEPS (make soak) for the long soak";
    const auto first = static_cast<uint32_t>(FromEnvironment("MARSHWADE_SOAK_SEED", 1));
    const SoakFigures figures = Soak(first, total, FromEnvironment("MARSHWADE_SOAK_STEPS_PER_SEED", 100000));
    std::cout << "soak: " << figures.Text() << "\n";
}

}  // namespace
