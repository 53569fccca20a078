#include <gtest/gtest.h>

#include "platform/WavFile.h"
#include "tests/support/WavBuilder.h"

namespace {

using namespace testing_support;
using platform::ParseWavFile;
using platform::WavFile;

struct Parsed {
    bool ok;
    WavFile wav;
    std::string reason;
};

Parsed Parse(const std::vector<uint8_t>& bytes) {
    Parsed p{};
    p.ok = ParseWavFile(bytes, p.wav, p.reason);
    return p;
}

void ExpectRefused(const std::vector<uint8_t>& bytes, const char* what) {
    Parsed p = Parse(bytes);
    EXPECT_FALSE(p.ok) << what;
    EXPECT_FALSE(p.reason.empty()) << what;
    EXPECT_TRUE(p.wav.samples.empty()) << what;
    EXPECT_EQ(p.wav.channels, 0) << what;
}

TEST(WavFileTest, ReadsEveryPcmLayoutThatIsPlayed) {
    for (uint16_t channels : {1, 2}) {
        for (uint16_t bits : {8, 16}) {
            for (uint32_t rate : {8000u, 11025u, 22050u, 44100u, 48000u}) {
                auto bytes = PcmWav(channels, rate, bits, 100);
                Parsed p = Parse(bytes);
                ASSERT_TRUE(p.ok) << channels << "ch " << bits << "bit " << rate << ": " << p.reason;
                EXPECT_EQ(p.wav.channels, channels);
                EXPECT_EQ(p.wav.bitsPerSample, bits);
                EXPECT_EQ(p.wav.rate, rate);
                EXPECT_EQ(p.wav.FrameCount(), 100u);
                EXPECT_EQ(p.wav.samples.data(), bytes.data() + 44);  // points into the file
            }
        }
    }
}

TEST(WavFileTest, SkipsOtherChunksBeforeTheSamples) {
    auto samples = RampSamples(1, 16, 10);
    auto bytes = RiffWave({{"LIST", std::vector<uint8_t>(26, 'x')},
                           {"fmt ", FormatBody(1, 22050, 16)},
                           {"fact", {4, 0, 0, 0}},
                           {"data", samples}});
    Parsed p = Parse(bytes);
    ASSERT_TRUE(p.ok) << p.reason;
    EXPECT_EQ(p.wav.FrameCount(), 10u);
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), p.wav.samples.begin()));
}

TEST(WavFileTest, StepsOverThePadByteOfOddSizedChunks) {
    // A 3-byte chunk is followed by one pad byte; without it the next header would be read one byte
    // early and "data" never found.
    auto bytes =
        RiffWave({{"fmt ", FormatBody(2, 22050, 8)}, {"junk", {1, 2, 3}}, {"data", RampSamples(2, 8, 5)}});
    Parsed p = Parse(bytes);
    ASSERT_TRUE(p.ok) << p.reason;
    EXPECT_EQ(p.wav.FrameCount(), 5u);
}

TEST(WavFileTest, OddSizedDataKeepsWholeFramesAndForgivesAMissingPadByte) {
    auto samples = RampSamples(1, 16, 4);
    samples.push_back(0x55);  // half a frame
    auto bytes = RiffWave({{"fmt ", FormatBody(1, 22050, 16)}, {"data", samples}});
    bytes.pop_back();  // the pad byte, as some writers leave it out
    Parsed p = Parse(bytes);
    ASSERT_TRUE(p.ok) << p.reason;
    EXPECT_EQ(p.wav.FrameCount(), 4u);
    EXPECT_EQ(p.wav.samples.size(), 8u);
}

TEST(WavFileTest, AcceptsTheExtensibleFormatWithPcmSamples) {
    auto fmt = FormatBody(2, 44100, 16, 0xFFFE);
    PutU16(fmt, 22);  // extension size
    PutU16(fmt, 16);  // valid bits
    PutU32(fmt, 3);   // channel mask
    const uint8_t pcm[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    fmt.insert(fmt.end(), pcm, pcm + 16);
    EXPECT_TRUE(Parse(RiffWave({{"fmt ", fmt}, {"data", RampSamples(2, 16, 3)}})).ok);
    fmt[24] = 3;  // the floating-point sub-format
    ExpectRefused(RiffWave({{"fmt ", fmt}, {"data", RampSamples(2, 16, 3)}}), "float sub-format");
}

TEST(WavFileTest, RiffSizeThatDisagreesWithTheFileIsIgnored) {
    auto bytes = PcmWav(1, 22050, 8, 20);
    for (uint32_t riff : {0u, 4u, 0xFFFFFFFFu}) {
        for (int i = 0; i < 4; ++i) bytes[4 + i] = uint8_t(riff >> (8 * i));
        EXPECT_TRUE(Parse(bytes).ok) << riff;
    }
}

TEST(WavFileTest, RefusesFilesCutShort) {
    auto bytes = PcmWav(2, 22050, 16, 50);
    for (size_t size : {size_t(0), size_t(4), size_t(11), size_t(12), size_t(20), size_t(35), size_t(43),
                        size_t(44), bytes.size() - 1}) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(size));
        ExpectRefused(cut, ("cut at " + std::to_string(size)).c_str());
    }
}

TEST(WavFileTest, RefusesChunkSizesBeyondTheFile) {
    ExpectRefused(RiffWave({{"fmt ", FormatBody(1, 22050, 16)}, {"data", RampSamples(1, 16, 8), 17}}),
                  "data one byte too long");
    ExpectRefused(RiffWave({{"fmt ", FormatBody(1, 22050, 16)}, {"data", RampSamples(1, 16, 8), 0xFFFFFFFF}}),
                  "streaming data size");
    ExpectRefused(
        RiffWave({{"LIST", {1, 2}, 0x7FFFFFF0}, {"fmt ", FormatBody(1, 22050, 16)}, {"data", {0, 0}}}),
        "huge chunk before the format");
    ExpectRefused(RiffWave({{"fmt ", FormatBody(1, 22050, 16), 0xFFFFFFF8}, {"data", {0, 0}}}),
                  "format size that wraps a 32-bit offset");
}

TEST(WavFileTest, RefusesDataBeforeFormatAndMissingChunks) {
    ExpectRefused(RiffWave({{"data", RampSamples(1, 8, 4)}, {"fmt ", FormatBody(1, 22050, 8)}}),
                  "data first");
    ExpectRefused(RiffWave({{"fmt ", FormatBody(1, 22050, 8)}}), "no data");
    ExpectRefused(RiffWave({{"LIST", {1, 2}}}), "no chunks that matter");
    ExpectRefused(RiffWave({{"fmt ", FormatBody(1, 22050, 8)},
                            {"fmt ", FormatBody(2, 22050, 8)},
                            {"data", RampSamples(1, 8, 4)}}),
                  "two formats");
    ExpectRefused(RiffWave({{"fmt ", FormatBody(1, 22050, 16)}, {"data", {}}}), "empty data");
    ExpectRefused(RiffWave({{"fmt ", FormatBody(2, 22050, 16)}, {"data", {1, 2, 3}}}), "less than a frame");
    auto notWave = PcmWav(1, 22050, 8, 4);
    notWave[8] = 'A';
    ExpectRefused(notWave, "AVE instead of WAVE");
}

TEST(WavFileTest, RefusesFormatsThatAreNotPlayed) {
    auto withFormat = [](std::vector<uint8_t> fmt) {
        return RiffWave({{"fmt ", fmt}, {"data", {0, 0, 0, 0}}});
    };
    ExpectRefused(withFormat(FormatBody(1, 22050, 16, 2)), "ADPCM");
    ExpectRefused(withFormat(FormatBody(1, 22050, 32, 3)), "float");
    ExpectRefused(withFormat(FormatBody(0, 22050, 16, 1, 2)), "zero channels");
    ExpectRefused(withFormat(FormatBody(6, 22050, 16)), "six channels");
    ExpectRefused(withFormat(FormatBody(1, 22050, 24)), "24 bits");
    ExpectRefused(withFormat(FormatBody(1, 22050, 0, 1, 1)), "zero bits");
    ExpectRefused(withFormat(FormatBody(2, 22050, 16, 1, 2)), "block size of a mono file");
    ExpectRefused(withFormat(FormatBody(1, 0, 16)), "rate 0");
    ExpectRefused(withFormat(FormatBody(1, 3999, 16)), "rate below the range");
    ExpectRefused(withFormat(FormatBody(1, 192001, 16)), "rate above the range");
    auto shortFormat = FormatBody(1, 22050, 16);
    shortFormat.resize(14);
    ExpectRefused(withFormat(shortFormat), "format chunk of 14 bytes");
    EXPECT_TRUE(Parse(withFormat(FormatBody(1, 4000, 16))).ok);
    EXPECT_TRUE(Parse(withFormat(FormatBody(1, 192000, 16))).ok);
}

}  // namespace
