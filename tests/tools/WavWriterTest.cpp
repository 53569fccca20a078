#include "tools/assetgen/WavWriter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ClipBytes.h"

namespace {

using assettest::U16;
using assettest::U32;

int16_t Sample(const std::vector<uint8_t>& wav, size_t i) { return static_cast<int16_t>(U16(wav, 44 + 2 * i)); }

TEST(WavWriterTest, HeaderIsMono16BitPcm) {
    const auto wav = assetgen::EncodeWav({0.0, 0.5, -0.5}, 22050);
    ASSERT_EQ(wav.size(), 44u + 6u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(U32(wav, 4), wav.size() - 8);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(U32(wav, 16), 16u);
    EXPECT_EQ(U16(wav, 20), 1u);
    EXPECT_EQ(U16(wav, 22), 1u);
    EXPECT_EQ(U32(wav, 24), 22050u);
    EXPECT_EQ(U32(wav, 28), 44100u);
    EXPECT_EQ(U16(wav, 32), 2u);
    EXPECT_EQ(U16(wav, 34), 16u);
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(U32(wav, 40), 6u);
}

TEST(WavWriterTest, LoudInputIsScaledBelowFullScale) {
    const auto wav = assetgen::EncodeWav({0.0, 40.0, -80.0, 20.0});
    const int peak = static_cast<int>(std::lround(assetgen::kPeakLevel * 32767));
    EXPECT_EQ(Sample(wav, 2), -peak);
    EXPECT_NEAR(Sample(wav, 1), peak / 2.0, 1.0);
    for (size_t i = 0; i < 4; ++i) EXPECT_LT(std::abs(Sample(wav, i)), 32767);
}

TEST(WavWriterTest, QuietInputIsRaisedToTheSameLevel) {
    const auto wav = assetgen::EncodeWav({0.001, -0.0005});
    EXPECT_EQ(Sample(wav, 0), static_cast<int16_t>(std::lround(assetgen::kPeakLevel * 32767)));
}

TEST(WavWriterTest, SilenceStaysSilentAndEmptyInputGivesAnEmptyFile) {
    const auto silent = assetgen::EncodeWav({0.0, 0.0});
    EXPECT_EQ(Sample(silent, 0), 0);
    EXPECT_EQ(Sample(silent, 1), 0);
    const auto empty = assetgen::EncodeWav({});
    EXPECT_EQ(empty.size(), 44u);
    EXPECT_EQ(U32(empty, 40), 0u);
}

}  // namespace
