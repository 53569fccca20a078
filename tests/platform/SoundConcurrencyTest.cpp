// Several threads playing at once against the headless player: the one-sound rule holds under
// contention, and a synchronous request waits for the clock the test moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "platform/HeadlessSoundPlayer.h"
#include "tests/platform/SoundFolder.h"

namespace {

using platform::HeadlessSoundPlayer;
using platform::ManualClock;
using platform::SoundMode;
using platform::SoundOutcome;

void WaitUntil(const std::function<bool()>& condition) {
    while (!condition()) std::this_thread::yield();
}

TEST(SoundConcurrencyTest, SimultaneousRequestsStartExactlyOneSound) {
    testing_support::SoundFolder folder;
    folder.AddSound("eat.wav", 100);
    ManualClock clock(0);
    HeadlessSoundPlayer player(clock);
    std::atomic<int> started{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&] {
            if (player.Play("WAV\\eat.wav", SoundMode::Async)) ++started;
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(started.load(), 1);
    EXPECT_EQ(player.LoadCount(), 1u);
    EXPECT_EQ(player.Requests().size(), 8u);
}

TEST(SoundConcurrencyTest, StartedSoundsNeverOverlapWhileThreadsPlayAsTheClockRuns) {
    testing_support::SoundFolder folder;
    folder.AddSound("a.wav", 30);
    folder.AddSound("b.wav", 70);
    ManualClock clock(0);
    HeadlessSoundPlayer player(clock);
    // Each request moves the clock on by a millisecond, so time runs with the requests whatever the
    // scheduling: about 1000 ms pass, and no more than 4 of them between two requests, so a free slot
    // is taken within 74 ms of a sound's start.
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&, i] {
            for (int k = 0; k < 250; ++k) {
                player.Play(i % 2 ? "WAV\\a.wav" : "WAV\\b.wav", SoundMode::Async);
                clock.Advance(1);
            }
        });
    }
    for (auto& t : threads) t.join();

    auto requests = player.Requests();
    uint32_t freeAt = 0;
    int started = 0;
    for (const auto& r : requests) {
        bool free = r.atMs >= freeAt;
        // Requests are recorded in the order the player decided them, so each outcome must follow
        // from the ones before it.
        ASSERT_EQ(r.outcome, free ? SoundOutcome::Started : SoundOutcome::Dropped) << "at " << r.atMs;
        if (free) {
            freeAt = r.atMs + (r.fileName == "WAV\\a.wav" ? 30 : 70);
            ++started;
        }
    }
    EXPECT_GE(started, 1000 / 74);
    EXPECT_EQ(player.LoadCount(), 2u);
}

TEST(SoundConcurrencyTest, SynchronousRequestWaitsForTheClockToReachItsEnd) {
    testing_support::SoundFolder folder;
    folder.AddSound("bell.wav", 400);
    ManualClock clock(5000);
    HeadlessSoundPlayer player(clock, HeadlessSoundPlayer::SyncWait::WaitForClock);
    std::atomic<bool> returned{false};
    uint32_t clockAtReturn = 0;
    std::thread game([&] {
        EXPECT_TRUE(player.Play("WAV\\bell.wav", SoundMode::Sync));
        clockAtReturn = clock.NowMs();
        returned = true;
    });
    WaitUntil([&] { return player.Waiting() == 1; });
    clock.Set(5399);
    // Still playing one millisecond before its end: another thread's request is dropped.
    EXPECT_FALSE(player.Play("WAV\\bell.wav", SoundMode::Async));
    clock.Set(5400);
    game.join();
    EXPECT_TRUE(returned);
    EXPECT_EQ(clockAtReturn, 5400u);
    EXPECT_EQ(player.Waiting(), 0u);
    EXPECT_TRUE(player.Play("WAV\\bell.wav", SoundMode::Async));
}

TEST(SoundConcurrencyTest, SynchronousCallersOnSeveralThreadsAllReturn) {
    testing_support::SoundFolder folder;
    folder.AddSound("sink.wav", 50);
    ManualClock clock(0);
    HeadlessSoundPlayer player(clock, HeadlessSoundPlayer::SyncWait::WaitForClock);
    std::atomic<int> finished{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 6; ++i) {
        threads.emplace_back([&] {
            for (int k = 0; k < 5; ++k) player.Play("WAV\\sink.wav", SoundMode::Sync);
            ++finished;
        });
    }
    while (finished < 6) {
        clock.Advance(10);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(player.Waiting(), 0u);
    EXPECT_EQ(player.Requests().size(), 30u);
}

}  // namespace
