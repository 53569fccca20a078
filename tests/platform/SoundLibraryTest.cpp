#include <gtest/gtest.h>

#include "platform/SoundLibrary.h"
#include "platform/SoundSlot.h"
#include "tests/platform/SoundFolder.h"

namespace {

using platform::SoundLibrary;
using platform::SoundSlot;

TEST(SoundSlotTest, DropsRequestsUntilTheSoundEndsOrItsLimitPasses) {
    SoundSlot slot;
    EXPECT_FALSE(slot.Busy(0));
    ASSERT_TRUE(slot.TryStart(100, 50));
    EXPECT_FALSE(slot.TryStart(100, 50));
    EXPECT_FALSE(slot.TryStart(149, 10));
    EXPECT_EQ(slot.RemainingMs(140), 10u);
    EXPECT_TRUE(slot.TryStart(150, 30));  // the limit has passed: a stalled sound lets the next one in
    EXPECT_EQ(slot.Generation(), 2u);
    slot.Finish();  // the player reports the end before the limit
    EXPECT_FALSE(slot.Busy(151));
    EXPECT_EQ(slot.RemainingMs(151), 0u);
    EXPECT_TRUE(slot.TryStart(151, 30));
}

TEST(SoundSlotTest, LimitHoldsAcrossTheClockWrap) {
    SoundSlot slot;
    ASSERT_TRUE(slot.TryStart(0xFFFFFFF0u, 0x40));
    EXPECT_TRUE(slot.Busy(0x10));
    EXPECT_EQ(slot.RemainingMs(0x10), 0x20u);
    EXPECT_FALSE(slot.Busy(0x30));
}

class SoundLibraryTest : public ::testing::Test {
  protected:
    testing_support::SoundFolder folder_;
    platform::ManualClock clock_{1000};
    SoundLibrary library_{clock_};
};

TEST_F(SoundLibraryTest, LoadsEachFileOnceWhateverTheSpelling) {
    folder_.AddSound("eat.wav", 100);
    auto first = library_.Find("WAV\\eat.wav");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->DurationMs(), 100u);
    EXPECT_EQ(library_.Find("WAV\\eat.wav"), first);
    EXPECT_EQ(library_.Find("WAV/eat.wav"), first);
    EXPECT_EQ(library_.Find("\\WAV\\eat.wav"), first);
    EXPECT_EQ(library_.LoadCount(), 1u);
    // Rewriting the file changes nothing: the sound was kept.
    folder_.AddSound("eat.wav", 300);
    EXPECT_EQ(library_.Find("WAV\\eat.wav")->DurationMs(), 100u);
}

// A sound pack installed while the game runs is heard: an unusable file is looked at again, but at
// most once a second however often the game asks for it, across the clock's wrap too.
TEST_F(SoundLibraryTest, UnusableFileIsLookedForAgainAtMostOnceASecond) {
    const struct {
        const char* what;
        bool present;  // false: missing; true: there but not a sound
        uint32_t startMs;
    } cases[] = {{"missing", false, 1000}, {"unusable", true, 1000}, {"across the wrap", false, 0xFFFFFE00u}};
    for (const auto& c : cases) {
        testing_support::SoundFolder folder;
        clock_.Set(c.startMs);
        SoundLibrary library(clock_);
        if (c.present) folder.AddFile("late.wav", {'R', 'I', 'F', 'F'});
        EXPECT_EQ(library.Find("WAV\\late.wav"), nullptr) << c.what;
        folder.AddSound("late.wav", 100);
        clock_.Advance(SoundLibrary::kRetryMs - 1);
        EXPECT_EQ(library.Find("WAV\\late.wav"), nullptr) << c.what << ": within the second, remembered";
        EXPECT_EQ(library.LoadCount(), 1u) << c.what;
        clock_.Advance(1);
        auto sound = library.Find("WAV\\late.wav");
        ASSERT_NE(sound, nullptr) << c.what;
        EXPECT_EQ(sound->DurationMs(), 100u);
        clock_.Advance(5 * SoundLibrary::kRetryMs);
        EXPECT_EQ(library.Find("WAV\\late.wav"), sound) << c.what << ": a usable sound is kept";
        EXPECT_EQ(library.LoadCount(), 2u) << c.what;
    }
}

TEST_F(SoundLibraryTest, FileThatStaysMissingIsTriedOncePerSecond) {
    for (int ms = 0; ms < 3000; ms += 20) {  // a request every frame for three seconds
        EXPECT_EQ(library_.Find("WAV\\nothere.wav"), nullptr);
        clock_.Advance(20);
    }
    EXPECT_EQ(library_.LoadCount(), 3u);
}

TEST_F(SoundLibraryTest, UnusableFilesPlayNothing) {
    folder_.AddFile("text.wav", {'h', 'e', 'l', 'l', 'o'});
    folder_.AddFile("empty.wav", {});
    EXPECT_EQ(library_.Find("WAV\\text.wav"), nullptr);
    EXPECT_EQ(library_.Find("WAV\\empty.wav"), nullptr);
    EXPECT_EQ(library_.Find("WAV"), nullptr);  // a folder
    EXPECT_EQ(library_.Find(""), nullptr);
    EXPECT_EQ(library_.LoadCount(), 4u);
}

TEST_F(SoundLibraryTest, RefusesAFileAboveTheCapWithoutReadingIt) {
    // A valid header in front of a sparse file: the size alone refuses it.
    folder_.AddFile("huge.wav", testing_support::PcmWav(1, 22050, 16, 10));
    std::filesystem::resize_file(folder_.Path("huge.wav"), platform::kMaxWavFileBytes + 1);
    EXPECT_EQ(library_.Find("WAV\\huge.wav"), nullptr);
    std::filesystem::resize_file(folder_.Path("huge.wav"), platform::kMaxWavFileBytes);
    platform::DeviceSound sound;
    std::string reason;
    EXPECT_TRUE(platform::LoadWavFile(folder_.Path("huge.wav").string(), sound, reason)) << reason;
}

}  // namespace
