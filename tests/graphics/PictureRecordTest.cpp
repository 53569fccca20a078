#include <gtest/gtest.h>

#include <climits>

#include "graphics/PictureRecord.h"
#include "tests/support/ClipFileBuilder.h"

namespace {

using graphics::ParsePictureRecord;
using graphics::Picture;
using testing_support::PictureRecordBytes;
using testing_support::PutAt;

bool Parse(const std::vector<uint8_t>& bytes, Picture& picture, std::string& reason) {
    return ParsePictureRecord(bytes, picture, reason);
}

TEST(PictureRecordTest, OddWidthRowsArePaddedAndKeptByteForByte) {
    auto bytes = PictureRecordBytes(5, 3, 0xFF00FF);
    Picture p;
    std::string reason;
    ASSERT_TRUE(Parse(bytes, p, reason)) << reason;
    EXPECT_EQ(p.width, 5);
    EXPECT_EQ(p.height, 3);
    EXPECT_TRUE(p.BottomUp());
    EXPECT_EQ(p.colourKey, 0xFF00FFu);
    EXPECT_EQ(p.bitsPerPixel, 24u);
    EXPECT_EQ(p.stride, 16u);  // 15 bytes of pixels padded to 16
    ASSERT_EQ(p.bits.size(), 16u * 3 + 4);
    EXPECT_TRUE(std::equal(bytes.begin() + 16, bytes.end(), p.bits.begin()));
    EXPECT_EQ(p.bits[48], 0);  // spare bytes are zero
}

TEST(PictureRecordTest, NegativeHeightKeepsTopDownOrder) {
    Picture p;
    std::string reason;
    ASSERT_TRUE(Parse(PictureRecordBytes(4, -2, 0), p, reason)) << reason;
    EXPECT_EQ(p.height, -2);
    EXPECT_EQ(p.Rows(), 2);
    EXPECT_FALSE(p.BottomUp());
}

TEST(PictureRecordTest, ThirtyTwoBitPicturesAndTrailingBytesAreAccepted) {
    auto bytes = PictureRecordBytes(3, 2, 7, nullptr, 8, 8, 16);
    bytes.insert(bytes.end(), 9, 0xAB);  // bytes beyond the rows are not part of the picture
    Picture p;
    std::string reason;
    ASSERT_TRUE(Parse(bytes, p, reason)) << reason;
    EXPECT_EQ(p.bitsPerPixel, 32u);
    EXPECT_EQ(p.bits.size(), 12u * 2 + 4);
}

TEST(PictureRecordTest, RecordsThatDoNotFitAreRejectedWithAReason) {
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> breakIt;
    };
    const std::vector<Case> cases = {
        {"exactly the header", [](auto& b) { b.resize(16); }},
        {"empty", [](auto& b) { b.clear(); }},
        {"one row byte short", [](auto& b) { b.pop_back(); }},
        {"negative width", [](auto& b) { PutAt(b, 0, int32_t{-5}); }},
        {"most negative height", [](auto& b) { PutAt(b, 4, int32_t{INT32_MIN}); }},
        // No bytes at all, yet bounds no drawable's rectangle can hold, in either row order.
        {"width 0, height 2147483647",
         [](auto& b) {
             PutAt(b, 0, int32_t{0});
             PutAt(b, 4, int32_t{INT32_MAX});
         }},
        {"width 0, height -2147483647",
         [](auto& b) {
             PutAt(b, 0, int32_t{0});
             PutAt(b, 4, int32_t{-INT32_MAX});
         }},
        {"width 65536, height 0",
         [](auto& b) {
             PutAt(b, 0, int32_t{65536});
             PutAt(b, 4, int32_t{0});
         }},
        {"height claims more rows", [](auto& b) { PutAt(b, 4, int32_t{4}); }},
        {"width claims more columns", [](auto& b) { PutAt(b, 0, int32_t{6}); }},
        {"huge width and height",
         [](auto& b) {
             PutAt(b, 0, int32_t{INT32_MAX});
             PutAt(b, 4, int32_t{INT32_MAX});
         }},
        {"huge width, height 1",
         [](auto& b) {
             PutAt(b, 0, int32_t{INT32_MAX});
             PutAt(b, 4, int32_t{1});
         }},
        {"huge 8-bit width, no rows",
         [](auto& b) {
             PutAt(b, 0, int32_t{INT32_MAX});
             PutAt(b, 4, int32_t{0});
             b[13] = b[14] = 0;
         }},
        {"depth 23 bits", [](auto& b) { b[14] = 7; }},
        {"depth 0 bits", [](auto& b) { b[12] = b[13] = b[14] = 0; }},
        {"depth 765 bits", [](auto& b) { b[12] = b[13] = b[14] = 255; }},
    };
    for (const auto& c : cases) {
        auto bytes = PictureRecordBytes(5, 3, 0);
        c.breakIt(bytes);
        Picture p;
        std::string reason;
        EXPECT_FALSE(Parse(bytes, p, reason)) << c.name;
        EXPECT_FALSE(reason.empty()) << c.name;
        EXPECT_TRUE(p.bits.empty()) << c.name;
    }
}

TEST(PictureRecordTest, FailureLeavesAPreviousPictureEmpty) {
    Picture p;
    std::string reason;
    ASSERT_TRUE(Parse(PictureRecordBytes(2, 2, 0), p, reason));
    EXPECT_FALSE(Parse(std::vector<uint8_t>(10), p, reason));
    EXPECT_EQ(p.width, 0);
    EXPECT_TRUE(p.bits.empty());
}

TEST(PictureRecordTest, ZeroWidthIsAnEmptyPictureWithSpareBytes) {
    auto bytes = PictureRecordBytes(0, 3, 0);
    bytes.push_back(0);  // a record must be longer than its header
    Picture p;
    std::string reason;
    ASSERT_TRUE(Parse(bytes, p, reason)) << reason;
    EXPECT_EQ(p.ImageSize(), 0u);
    EXPECT_EQ(p.bits.size(), 4u);
}

}  // namespace
