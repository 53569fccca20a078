#include <gtest/gtest.h>

#include "platform/DeviceSound.h"
#include "tests/support/WavBuilder.h"

namespace {

using platform::ConvertToDevice;
using platform::DeviceSound;
using platform::WavFile;

WavFile Wav(const std::vector<uint8_t>& samples, uint16_t channels, uint16_t bits, uint32_t rate) {
    WavFile wav;
    wav.channels = channels;
    wav.bitsPerSample = bits;
    wav.rate = rate;
    wav.samples = samples;
    return wav;
}

DeviceSound Convert(const WavFile& wav) {
    DeviceSound out;
    std::string reason;
    EXPECT_TRUE(ConvertToDevice(wav, out, reason)) << reason;
    return out;
}

TEST(DeviceSoundTest, StereoSixteenBitAtTheDeviceRateIsCopiedUnchanged) {
    std::vector<uint8_t> bytes = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F};
    DeviceSound out = Convert(Wav(bytes, 2, 16, 44100));
    EXPECT_EQ(out.samples, (std::vector<int16_t>{1, -1, -32768, 32767}));
}

TEST(DeviceSoundTest, EightBitMonoIsRecentredAndPlayedOnBothSides) {
    std::vector<uint8_t> bytes = {128, 255, 0};
    DeviceSound out = Convert(Wav(bytes, 1, 8, 44100));
    EXPECT_EQ(out.samples, (std::vector<int16_t>{0, 0, 32512, 32512, -32768, -32768}));
}

TEST(DeviceSoundTest, HalfRateIsDoubledWithMidpointsBetweenSamples) {
    std::vector<uint8_t> bytes;
    testing_support::PutU16(bytes, 0);
    testing_support::PutU16(bytes, 1000);
    testing_support::PutU16(bytes, uint16_t(-1000));
    DeviceSound out = Convert(Wav(bytes, 1, 16, 22050));
    ASSERT_EQ(out.FrameCount(), 6u);
    std::vector<int16_t> left;
    for (size_t i = 0; i < out.samples.size(); i += 2) left.push_back(out.samples[i]);
    // The last input sample is held: nothing past it to interpolate towards.
    EXPECT_EQ(left, (std::vector<int16_t>{0, 500, 1000, 0, -1000, -1000}));
}

TEST(DeviceSoundTest, OtherRatesGiveTheSamePlayingTime) {
    for (uint32_t rate : {4000u, 8000u, 11025u, 22050u, 48000u, 96000u, 192000u}) {
        std::vector<uint8_t> bytes(rate * 2, 0x80);  // one second of 8-bit stereo
        DeviceSound out = Convert(Wav(bytes, 2, 8, rate));
        EXPECT_EQ(out.FrameCount(), 44100u) << rate;
        EXPECT_EQ(out.DurationMs(), 1000u) << rate;
    }
}

TEST(DeviceSoundTest, DurationIsRoundedUp) {
    std::vector<uint8_t> one = {0, 0, 0, 0};
    EXPECT_EQ(Convert(Wav(one, 2, 16, 44100)).DurationMs(), 1u);
    std::vector<uint8_t> tiny = {0};
    EXPECT_EQ(Convert(Wav(tiny, 1, 8, 192000)).FrameCount(), 1u);  // never rounded away to nothing
}

TEST(DeviceSoundTest, RefusesSoundsThatWouldGrowPastTheCap) {
    // 1.6 MB of 8-bit mono at 4000 Hz would become about 70 MB at the device rate.
    std::vector<uint8_t> bytes(1'600'000, 0x80);
    DeviceSound out;
    std::string reason;
    EXPECT_FALSE(ConvertToDevice(Wav(bytes, 1, 8, 4000), out, reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_TRUE(out.samples.empty());
    bytes.resize(1'400'000);
    EXPECT_TRUE(ConvertToDevice(Wav(bytes, 1, 8, 4000), out, reason)) << reason;
}

TEST(DeviceSoundTest, RefusesAnEmptySound) {
    DeviceSound out;
    std::string reason;
    EXPECT_FALSE(ConvertToDevice(WavFile{}, out, reason));
}

}  // namespace
