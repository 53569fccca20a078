#include <gtest/gtest.h>

#include "platform/HeadlessSoundPlayer.h"
#include "tests/platform/SoundFolder.h"

namespace {

using platform::HeadlessSoundPlayer;
using platform::ManualClock;
using platform::SoundMode;
using platform::SoundOutcome;

class HeadlessSoundPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_.AddSound("over.wav", 200);
        folder_.AddSound("sink.wav", 500);
    }
    std::vector<SoundOutcome> Outcomes() const {
        std::vector<SoundOutcome> out;
        for (const auto& r : player_.Requests()) out.push_back(r.outcome);
        return out;
    }
    testing_support::SoundFolder folder_;
    ManualClock clock_{1000};
    HeadlessSoundPlayer player_{clock_};
};

TEST_F(HeadlessSoundPlayerTest, RequestWhileASoundPlaysIsDropped) {
    EXPECT_TRUE(player_.Play("WAV\\over.wav", SoundMode::Async));
    EXPECT_EQ(clock_.NowMs(), 1000u);  // asynchronous: no time passes
    EXPECT_TRUE(player_.Playing());
    clock_.Advance(199);
    EXPECT_FALSE(player_.Play("WAV\\sink.wav", SoundMode::Async));
    EXPECT_FALSE(player_.Play("WAV\\over.wav", SoundMode::Sync));
    EXPECT_EQ(clock_.NowMs(), 1199u);  // a dropped synchronous request does not wait
    clock_.Advance(1);
    EXPECT_FALSE(player_.Playing());
    EXPECT_TRUE(player_.Play("WAV\\sink.wav", SoundMode::Async));
    EXPECT_EQ(Outcomes(), (std::vector<SoundOutcome>{SoundOutcome::Started, SoundOutcome::Dropped,
                                                     SoundOutcome::Dropped, SoundOutcome::Started}));
    auto requests = player_.Requests();
    EXPECT_EQ(requests[1].fileName, "WAV\\sink.wav");
    EXPECT_EQ(requests[2].mode, SoundMode::Sync);
    EXPECT_EQ(requests[3].atMs, 1200u);
}

TEST_F(HeadlessSoundPlayerTest, SynchronousSoundReturnsWhenItHasEnded) {
    EXPECT_TRUE(player_.Play("WAV\\sink.wav", SoundMode::Sync));
    EXPECT_EQ(clock_.NowMs(), 1500u);
    EXPECT_FALSE(player_.Playing());
    // So the caller's next sound is never dropped because of its own previous one.
    EXPECT_TRUE(player_.Play("WAV\\over.wav", SoundMode::Sync));
    EXPECT_EQ(clock_.NowMs(), 1700u);
}

TEST_F(HeadlessSoundPlayerTest, MissingFileIsSilentAndLeavesTheDeviceFree) {
    EXPECT_FALSE(player_.Play("WAV\\gameover.wav", SoundMode::Sync));
    EXPECT_FALSE(player_.Play("WAV\\gameover.wav", SoundMode::Async));
    EXPECT_EQ(clock_.NowMs(), 1000u);
    EXPECT_FALSE(player_.Playing());
    EXPECT_TRUE(player_.Play("WAV\\over.wav", SoundMode::Async));
    EXPECT_EQ(Outcomes(),
              (std::vector<SoundOutcome>{SoundOutcome::Silent, SoundOutcome::Silent, SoundOutcome::Started}));
    EXPECT_EQ(player_.LoadCount(), 2u);
}

TEST_F(HeadlessSoundPlayerTest, EachFileIsDecodedOnceHoweverOftenItPlays) {
    for (int i = 0; i < 20; ++i) {
        player_.Play("WAV\\over.wav", SoundMode::Async);
        player_.Play("WAV\\sink.wav", SoundMode::Sync);
        clock_.Advance(100);
    }
    EXPECT_EQ(player_.LoadCount(), 2u);
    EXPECT_EQ(player_.Requests().size(), 40u);
    player_.ClearRequests();
    EXPECT_TRUE(player_.Requests().empty());
}

TEST_F(HeadlessSoundPlayerTest, SharedPlayerIsTheInstalledOne) {
    platform::SoundPlayer* before = platform::SoundPlayer::SetShared(&player_);
    EXPECT_EQ(&platform::SoundPlayer::Shared(), &player_);
    EXPECT_TRUE(platform::SoundPlayer::Shared().Open());
    platform::SoundPlayer::Shared().Play("WAV\\over.wav", SoundMode::Async);
    EXPECT_EQ(player_.Requests().size(), 1u);
    EXPECT_EQ(platform::SoundPlayer::SetShared(before), &player_);
    EXPECT_NE(&platform::SoundPlayer::Shared(), &player_);
}

}  // namespace
