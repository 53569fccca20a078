#include "tools/assetgen/ClipWriter.h"

#include <gtest/gtest.h>

#include "ClipBytes.h"

namespace {

using assetgen::ClipData;
using assetgen::ClipFrame;
using assetgen::Picture;
using assettest::U16;
using assettest::U32;

// A picture whose every pixel tells where it is: blue = x, green = y, red = 7.
Picture Numbered(int w, int h, uint32_t key) {
    Picture p(w, h, key);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.Set(x, y, assetgen::Rgb{7, static_cast<uint8_t>(y), static_cast<uint8_t>(x)});
    return p;
}

TEST(PictureRecordTest, HeaderHoldsSizeKeyAndEightBitsPerChannel) {
    const auto rec = assetgen::EncodePictureRecord(Numbered(3, 2, 0x123456));
    EXPECT_EQ(U32(rec, 0), 3u);
    EXPECT_EQ(U32(rec, 4), 2u);  // positive: rows bottom-up
    EXPECT_EQ(U32(rec, 8), 0x123456u);
    EXPECT_EQ(rec[12], 8);
    EXPECT_EQ(rec[13], 8);
    EXPECT_EQ(rec[14], 8);
}

TEST(PictureRecordTest, RowsAreStoredBottomUpAndPaddedToFourBytes) {
    // Width 3: 9 bytes of pixels, padded to 12.
    const auto rec = assetgen::EncodePictureRecord(Numbered(3, 2, 0));
    ASSERT_EQ(rec.size(), 16u + 12u * 2u);
    // First stored row is the bottom row (y = 1): blue, green, red of x = 0.
    EXPECT_EQ(rec[16], 0);
    EXPECT_EQ(rec[17], 1);
    EXPECT_EQ(rec[18], 7);
    EXPECT_EQ(rec[16 + 6], 2);  // x = 2
    for (int pad = 9; pad < 12; ++pad) EXPECT_EQ(rec[16 + static_cast<size_t>(pad)], 0) << pad;
    EXPECT_EQ(rec[28 + 1], 0);  // second stored row is y = 0
}

TEST(PictureRecordTest, StrideNeedsNoPaddingForWidthsOfFourPixels) {
    EXPECT_EQ(assetgen::Stride24(4), 12u);
    EXPECT_EQ(assetgen::Stride24(1), 4u);
    EXPECT_EQ(assetgen::Stride24(5), 16u);
    EXPECT_EQ(assetgen::Stride24(78), 236u);
}

TEST(ClipWriterTest, HeaderTableAndRecordsAgree) {
    ClipData clip;
    clip.frameRate = 12.5f;
    clip.pictures = {Numbered(5, 4, 0xFF00FF), Numbered(2, 3, 120034)};
    ClipFrame a;
    a.x = -3.5;
    a.y = 7;
    a.depth = 2;
    a.picture = 1;
    a.commands = {assetgen::kPlayFrom, 0};
    ClipFrame b;
    b.picture = 0;
    b.commands = {assetgen::kHold};
    clip.frames = {a, b, a};

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(assetgen::EncodeClip(clip, bytes));
    EXPECT_EQ(U32(bytes, 4), 0u);
    for (size_t i = 12; i < 20; ++i) EXPECT_EQ(bytes[i], 0) << i;

    assettest::ClipView view;
    ASSERT_EQ(assettest::ReadClip(bytes, view), "");
    EXPECT_FLOAT_EQ(view.frameRate, 12.5f);
    EXPECT_EQ(view.tableSize, 2u * 12u + 3u * 32u + 4u * (2 + 1 + 2));
    ASSERT_EQ(view.pictures.size(), 2u);
    EXPECT_EQ(view.pictures[0].width, 5);
    EXPECT_EQ(view.pictures[1].key, 120034u);
    EXPECT_EQ(view.pictures[0].offset, 32u + view.tableSize);  // records follow the table directly
    EXPECT_EQ(view.pictures[1].offset, view.pictures[0].offset + view.pictures[0].size);
    EXPECT_EQ(view.pictures[1].offset + view.pictures[1].size, bytes.size());
    ASSERT_EQ(view.frames.size(), 3u);
    EXPECT_DOUBLE_EQ(view.frames[0].x, -3.5);
    EXPECT_DOUBLE_EQ(view.frames[0].y, 7);
    EXPECT_DOUBLE_EQ(view.frames[0].depth, 2);
    EXPECT_EQ(view.frames[0].picture, 1);
    EXPECT_EQ(view.frames[0].commands, (std::vector<int32_t>{3, 0}));
    EXPECT_EQ(view.frames[1].commands, (std::vector<int32_t>{1}));
    EXPECT_EQ(view.frames[2].picture, 1);
}

TEST(ClipWriterTest, SequenceShowsEachPictureOnceInOrder) {
    const ClipData clip = ClipData::Sequence({Numbered(1, 1, 0), Numbered(2, 2, 0), Numbered(3, 3, 0)}, 8);
    ASSERT_EQ(clip.frames.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(clip.frames[static_cast<size_t>(i)].picture, i);
        EXPECT_TRUE(clip.frames[static_cast<size_t>(i)].commands.empty());
    }
    EXPECT_FLOAT_EQ(clip.frameRate, 8.0f);
}

TEST(ClipWriterTest, RefusesClipsTheFormatCannotHold) {
    std::vector<uint8_t> bytes{1, 2, 3};
    std::string error;
    ClipData empty;
    EXPECT_FALSE(assetgen::EncodeClip(empty, bytes, &error));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(error.empty());

    ClipData missing = ClipData::Sequence({Numbered(2, 2, 0)}, 1);
    missing.frames[0].picture = 1;
    EXPECT_FALSE(assetgen::EncodeClip(missing, bytes, &error));
    missing.frames[0].picture = -1;
    EXPECT_FALSE(assetgen::EncodeClip(missing, bytes, &error));

    ClipData shortPixels = ClipData::Sequence({Numbered(2, 2, 0)}, 1);
    shortPixels.pictures[0].bgr.pop_back();
    EXPECT_FALSE(assetgen::EncodeClip(shortPixels, bytes, &error));

    ClipData noSize = ClipData::Sequence({Picture(0, 3, 0)}, 1);
    EXPECT_FALSE(assetgen::EncodeClip(noSize, bytes, &error));
}

TEST(ClipWriterTest, AClipWithoutFramesStillHoldsItsPictures) {
    ClipData clip;
    clip.pictures = {Numbered(2, 2, 0)};
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(assetgen::EncodeClip(clip, bytes));
    EXPECT_EQ(U32(bytes, 28), 0u);
    EXPECT_EQ(U32(bytes, 8), 12u);
}

TEST(BmpWriterTest, HeadersDescribeAnUncompressed24BitBottomUpPicture) {
    const auto bmp = assetgen::EncodeBmp(Numbered(3, 2, 0));
    ASSERT_EQ(bmp.size(), 54u + 12u * 2u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32(bmp, 2), bmp.size());
    EXPECT_EQ(U32(bmp, 10), 54u);
    EXPECT_EQ(U32(bmp, 14), 40u);
    EXPECT_EQ(U32(bmp, 18), 3u);
    EXPECT_EQ(U32(bmp, 22), 2u);
    EXPECT_EQ(U16(bmp, 26), 1u);
    EXPECT_EQ(U16(bmp, 28), 24u);
    EXPECT_EQ(U32(bmp, 30), 0u);
    EXPECT_EQ(U32(bmp, 34), 24u);
    EXPECT_EQ(U32(bmp, 46), 0u);  // no colour table: pixels follow the info header
    EXPECT_EQ(bmp[54 + 1], 1);    // bottom row first
}

}  // namespace
