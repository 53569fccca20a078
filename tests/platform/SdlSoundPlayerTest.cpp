// The real player on SDL's "dummy" audio driver, which opens a device without sound hardware and
// calls the audio callback on its own thread at the pace of real playback, so the callback path runs
// here (and under ThreadSanitizer) exactly as it does on a desktop.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/SdlSoundPlayer.h"
#include "tests/platform/SoundFolder.h"

namespace {

using platform::SdlSoundPlayer;
using platform::SoundMode;

class SdlSoundPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        folder_.AddSound("short.wav", 60);
        folder_.AddSound("long.wav", 3000);
    }
    testing_support::SoundFolder folder_;
};

TEST_F(SdlSoundPlayerTest, DummyDriverOpensADevice) {
    SdlSoundPlayer player;
    EXPECT_TRUE(player.Open());
    EXPECT_TRUE(player.Open());  // opened once, then kept
}

TEST_F(SdlSoundPlayerTest, SynchronousSoundHasEndedWhenPlayReturns) {
    SdlSoundPlayer player;
    ASSERT_TRUE(player.Open());
    for (int i = 0; i < 3; ++i) {
        // Were the call to return before the callback played the last sample, the next request
        // would find the device busy and be dropped.
        EXPECT_TRUE(player.Play("WAV\\short.wav", SoundMode::Sync)) << i;
        // Ended by the callback handing over the last sample, not by the time limit running out.
        EXPECT_EQ(player.PlayedToEndCount(), size_t(i + 1));
    }
    EXPECT_EQ(player.LoadCount(), 1u);
}

TEST_F(SdlSoundPlayerTest, RequestWhileASoundPlaysIsDropped) {
    SdlSoundPlayer player;
    ASSERT_TRUE(player.Open());
    EXPECT_TRUE(player.Play("WAV\\long.wav", SoundMode::Async));
    EXPECT_FALSE(player.Play("WAV\\short.wav", SoundMode::Async));
    EXPECT_FALSE(player.Play("WAV\\short.wav", SoundMode::Sync));
    // Destroying the player while the sound plays closes the device cleanly.
}

TEST_F(SdlSoundPlayerTest, MissingFileIsSilent) {
    SdlSoundPlayer player;
    EXPECT_FALSE(player.Play("WAV\\nothere.wav", SoundMode::Sync));
    EXPECT_FALSE(player.Play("WAV\\nothere.wav", SoundMode::Async));
    EXPECT_EQ(player.LoadCount(), 1u);
    EXPECT_TRUE(player.Play("WAV\\short.wav", SoundMode::Sync));
}

TEST_F(SdlSoundPlayerTest, SeveralThreadsPlayingAtOnceAllReturn) {
    SdlSoundPlayer player;
    ASSERT_TRUE(player.Open());
    std::atomic<int> started{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&, i] {
            for (int k = 0; k < 4; ++k) {
                if (player.Play("WAV\\short.wav", (i + k) % 2 ? SoundMode::Sync : SoundMode::Async))
                    ++started;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_GE(started.load(), 1);
    EXPECT_EQ(player.LoadCount(), 1u);
}

// "alsa" on a machine without a sound card is what a CI runner or a bare Xvfb session meets: the
// library prints a dozen lines of its own while SDL tries it. With a card it opens, and says nothing.
TEST(SdlSoundPlayerWithoutDeviceTest, EveryRequestIsSilentNothingIsLoadedAndOneLineSaysSo) {
    for (const char* driver : {"no-such-driver", "alsa"}) {
        SCOPED_TRACE(driver);
        setenv("SDL_AUDIODRIVER", driver, 1);
        testing_support::SoundFolder folder;
        folder.AddSound("short.wav", 60);
        testing::internal::CaptureStderr();
        bool opened = false;
        {
            SdlSoundPlayer player;
            opened = player.Open();
            if (!opened) {
                EXPECT_FALSE(player.Play("WAV\\short.wav", SoundMode::Sync));
                EXPECT_FALSE(player.Play("WAV\\short.wav", SoundMode::Async));
                EXPECT_FALSE(player.Open());
                EXPECT_EQ(player.LoadCount(), 0u);
            }
        }
        const std::string said = testing::internal::GetCapturedStderr();
        if (opened) {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
            EXPECT_EQ(said.rfind("sound: no audio device (", 0), 0u) << said;
            EXPECT_NE(said.find("; the game plays silently\n"), std::string::npos) << said;
        }
    }
}

}  // namespace
