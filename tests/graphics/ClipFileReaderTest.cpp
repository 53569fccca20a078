#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include "graphics/ClipFileReader.h"
#include "tests/support/ClipFileBuilder.h"

namespace {

using graphics::ClipFile;
using graphics::ParseClipFile;
using namespace testing_support;

std::vector<uint8_t> TwoPictureClip() {
    return ClipFileBuilder()
        .Rate(12.7f)
        .Picture(PictureRecordBytes(5, 3, 0xFF00FF))
        .Picture(PictureRecordBytes(78, -80, 0))
        .Frame({1.5, 2.25, 0.5, 0, {}})
        .Frame({0, 0, 0, 1, {3, 0}})
        .Frame({-4, 7, 1, 0, {1, 2, 4, 1}})
        .Build();
}

bool Parse(const std::vector<uint8_t>& bytes, ClipFile& clip, std::string& reason) {
    return ParseClipFile(bytes, clip, reason);
}

TEST(ClipFileReaderTest, ReadsPicturesFramesCommandsAndTruncatedRate) {
    ClipFile clip;
    std::string reason;
    ASSERT_TRUE(Parse(TwoPictureClip(), clip, reason)) << reason;
    EXPECT_EQ(clip.frameRate, 12);
    ASSERT_EQ(clip.pictures.size(), 2u);
    EXPECT_EQ(clip.pictures[0].width, 5);
    EXPECT_EQ(clip.pictures[0].colourKey, 0xFF00FFu);
    EXPECT_EQ(clip.pictures[1].height, -80);
    ASSERT_EQ(clip.frames.size(), 3u);
    EXPECT_DOUBLE_EQ(clip.frames[0].x, 1.5);
    EXPECT_DOUBLE_EQ(clip.frames[0].y, 2.25);
    EXPECT_DOUBLE_EQ(clip.frames[0].depth, 0.5);
    EXPECT_EQ(clip.frames[1].pictureIndex, 1);
    EXPECT_EQ(clip.frames[1].commands, (std::vector<int32_t>{3, 0}));
    EXPECT_EQ(clip.frames[2].commands, (std::vector<int32_t>{1, 2, 4, 1}));
    EXPECT_TRUE(clip.frames[0].commands.empty());
}

TEST(ClipFileReaderTest, TwoFramesNamingOnePictureGiveOnePictureAndTwoFrames) {
    auto bytes = ClipFileBuilder()
                     .Picture(PictureRecordBytes(4, 4, 0))
                     .Frame({0, 0, 0, 0, {}})
                     .Frame({10, 0, 0, 0, {}})
                     .Build();
    ClipFile clip;
    std::string reason;
    ASSERT_TRUE(Parse(bytes, clip, reason)) << reason;
    EXPECT_EQ(clip.pictures.size(), 1u);
    ASSERT_EQ(clip.frames.size(), 2u);
    EXPECT_EQ(clip.frames[0].pictureIndex, 0);
    EXPECT_EQ(clip.frames[1].pictureIndex, 0);
}

TEST(ClipFileReaderTest, PicturesOfOtherTypesAreSkippedAndGetNoIndex) {
    auto builder = ClipFileBuilder()
                       .Picture({1, 2, 3}, 2)  // not a bitmap: never read, even though it is too short
                       .Picture(PictureRecordBytes(3, 3, 0))
                       .Frame({0, 0, 0, 0, {}});
    ClipFile clip;
    std::string reason;
    ASSERT_TRUE(Parse(builder.Build(), clip, reason)) << reason;
    ASSERT_EQ(clip.pictures.size(), 1u);
    EXPECT_EQ(clip.pictures[0].width, 3);
    EXPECT_FALSE(Parse(builder.Frame({0, 0, 0, 1, {}}).Build(), clip, reason)) << "index 1 does not exist";
}

TEST(ClipFileReaderTest, FrameRateIsTruncatedAndNeverNegative) {
    const std::vector<std::pair<float, int>> rates = {{10.0f, 10},
                                                      {12.99f, 12},
                                                      {0.5f, 0},
                                                      {-3.0f, 0},
                                                      {std::nanf(""), 0},
                                                      {1e30f, 1000},
                                                      {std::numeric_limits<float>::infinity(), 1000}};
    for (auto [rate, expected] : rates) {
        auto bytes = ClipFileBuilder().Rate(rate).Picture(PictureRecordBytes(1, 1, 0)).Frame({}).Build();
        ClipFile clip;
        std::string reason;
        ASSERT_TRUE(Parse(bytes, clip, reason)) << reason;
        EXPECT_EQ(clip.frameRate, expected) << rate;
    }
}

TEST(ClipFileReaderTest, EmptyClipWithNoEntriesIsAccepted) {
    ClipFile clip;
    std::string reason;
    EXPECT_TRUE(Parse(ClipFileBuilder().Build(), clip, reason)) << reason;
    EXPECT_TRUE(clip.frames.empty());
}

// Offsets into TwoPictureClip(): header 32, two picture entries of 12, then the frames.
constexpr size_t kPicture0 = kTableOffset, kPicture1 = kTableOffset + kPictureEntrySize;
constexpr size_t kFrame0 = kTableOffset + 2 * kPictureEntrySize;

size_t PositionOf(const std::vector<uint8_t>& bytes, size_t entry) {
    uint32_t position = 0;
    std::memcpy(&position, bytes.data() + entry, sizeof position);
    return position;
}

TEST(ClipFileReaderTest, EveryFieldThatDoesNotFitFailsCleanly) {
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> breakIt;
    };
    const std::vector<Case> cases = {
        {"magic 136", [](auto& b) { PutAt(b, kMagicOffset, uint32_t{136}); }},
        {"header cut short", [](auto& b) { b.resize(31); }},
        {"empty file", [](auto& b) { b.clear(); }},
        {"table size past the end",
         [](auto& b) { PutAt(b, kTableSizeOffset, static_cast<uint32_t>(b.size())); }},
        {"table size 0xFFFFFFFF", [](auto& b) { PutAt(b, kTableSizeOffset, uint32_t{0xFFFFFFFF}); }},
        {"table too small for the frames", [](auto& b) { PutAt(b, kTableSizeOffset, uint32_t{24 + 40}); }},
        {"negative picture count", [](auto& b) { PutAt(b, kPictureCountOffset, int32_t{-1}); }},
        {"negative frame count", [](auto& b) { PutAt(b, kFrameCountOffset, int32_t{-1}); }},
        {"picture count beyond the table",
         [](auto& b) { PutAt(b, kPictureCountOffset, int32_t{INT32_MAX}); }},
        {"frame count beyond the table", [](auto& b) { PutAt(b, kFrameCountOffset, int32_t{4}); }},
        {"frame count huge", [](auto& b) { PutAt(b, kFrameCountOffset, int32_t{INT32_MAX}); }},
        {"picture position past the end",
         [](auto& b) { PutAt(b, kPicture1, static_cast<uint32_t>(b.size())); }},
        {"picture position wraps", [](auto& b) { PutAt(b, kPicture1, uint32_t{0xFFFFFFF0}); }},
        {"picture size past the end", [](auto& b) { PutAt(b, kPicture1 + 4, uint32_t{0xFFFFFFFF}); }},
        {"picture size 16", [](auto& b) { PutAt(b, kPicture0 + 4, uint32_t{16}); }},
        {"picture size too small for its rows", [](auto& b) { PutAt(b, kPicture0 + 4, uint32_t{17}); }},
        {"picture record broken", [](auto& b) { PutAt(b, PositionOf(b, kPicture0), int32_t{-1}); }},
        {"frame names picture -1", [](auto& b) { PutAt(b, kFrame0 + 24, int16_t{-1}); }},
        {"frame names picture 2 of 2", [](auto& b) { PutAt(b, kFrame0 + 24, int16_t{2}); }},
        {"commands run past the table", [](auto& b) { PutAt(b, kFrame0 + 32 + 26, uint16_t{0xFFFF}); }},
        {"frame x is NaN", [](auto& b) { PutAt(b, kFrame0, std::nan("")); }},
        {"frame y is infinite",
         [](auto& b) { PutAt(b, kFrame0 + 8, std::numeric_limits<double>::infinity()); }},
        {"frame depth beyond any float", [](auto& b) { PutAt(b, kFrame0 + 16, 1e300); }},
    };
    for (const auto& c : cases) {
        auto bytes = TwoPictureClip();
        c.breakIt(bytes);
        ClipFile clip;
        std::string reason;
        EXPECT_FALSE(Parse(bytes, clip, reason)) << c.name;
        EXPECT_FALSE(reason.empty()) << c.name;
        EXPECT_TRUE(clip.pictures.empty() && clip.frames.empty()) << c.name;
    }
}

TEST(ClipFileReaderTest, EveryTruncationOfAGoodFileFails) {
    auto bytes = TwoPictureClip();
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(length));
        ClipFile clip;
        std::string reason;
        ASSERT_FALSE(Parse(cut, clip, reason)) << "length " << length;
    }
}

class ClipFileOnDiskTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("clipfile_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        auto path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::filesystem::path dir_;
};

TEST_F(ClipFileOnDiskTest, ReadsAFileByPath) {
    ClipFile clip;
    std::string reason;
    ASSERT_TRUE(graphics::ReadClipFile(Write("a.clp", TwoPictureClip()), clip, reason)) << reason;
    EXPECT_EQ(clip.frames.size(), 3u);
}

TEST_F(ClipFileOnDiskTest, MissingFilesDirectoriesAndOversizedFilesFail) {
    ClipFile clip;
    std::string reason;
    EXPECT_FALSE(graphics::ReadClipFile((dir_ / "missing.clp").string(), clip, reason));
    EXPECT_NE(reason.find("missing.clp"), std::string::npos);
    EXPECT_FALSE(graphics::ReadClipFile(dir_.string(), clip, reason));
    auto path = Write("big.clp", TwoPictureClip());
    EXPECT_FALSE(graphics::ReadClipFile(path, clip, reason, 100)) << "larger than the cap";
    EXPECT_NE(reason.find("more than"), std::string::npos);
    EXPECT_TRUE(clip.frames.empty());
}

}  // namespace
