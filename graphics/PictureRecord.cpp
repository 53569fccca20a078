#include "graphics/PictureRecord.h"

#include "platform/ByteSpan.h"

namespace graphics {

using platform::ByteSpan;
namespace {

bool Fail(Picture& out, std::string& reason, std::string why) {
    out = Picture{};
    reason = std::move(why);
    return false;
}

// The blender walks rows pixel by pixel with a whole number of bytes per pixel; a depth it cannot
// step through would make it read past the rows.
bool DrawableDepth(uint32_t bits) {
    return bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

bool ParsePictureRecord(std::span<const uint8_t> record, Picture& out, std::string& reason) {
    ByteSpan in(record);
    if (in.Size() <= kPictureRecordHeaderSize)
        return Fail(out, reason, "picture record of " + std::to_string(in.Size()) + " bytes is too short");

    int32_t width = 0, height = 0;
    uint32_t key = 0;
    uint8_t c1 = 0, c2 = 0, c3 = 0;
    in.I32(0, width);
    in.I32(4, height);
    in.U32(8, key);
    in.U8(12, c1);
    in.U8(13, c2);
    in.U8(14, c3);

    uint32_t bits = uint32_t{c1} + c2 + c3;
    if (width < 0) return Fail(out, reason, "picture width " + std::to_string(width) + " is negative");
    if (!SidesWithinLimit(width, height))
        return Fail(out, reason,
                    "picture of " + std::to_string(width) + " x " + std::to_string(height) + " is out of range");
    if (!DrawableDepth(bits))
        return Fail(out, reason,
                    "picture depth of " + std::to_string(bits) + " bits per pixel is not supported");

    uint64_t stride = RowStride(static_cast<uint32_t>(width), bits);
    uint64_t rows = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
    // stride < 2^34 and rows < 2^31, so the product cannot overflow 64 bits.
    uint64_t imageSize = stride * rows;
    if (imageSize > kMaxPictureBytes || stride > kMaxPictureBytes)
        return Fail(out, reason,
                    "picture of " + std::to_string(width) + " x " + std::to_string(rows) + " is too large");
    if (!in.Holds(kPictureRecordHeaderSize, imageSize))
        return Fail(out, reason,
                    "picture rows need " + std::to_string(imageSize) + " bytes, record holds " +
                        std::to_string(in.Size() - kPictureRecordHeaderSize));

    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.colourKey = key;
    picture.bitsPerPixel = bits;
    picture.stride = static_cast<uint32_t>(stride);
    auto rowBytes = in.Sub(kPictureRecordHeaderSize, imageSize);
    picture.bits.reserve(static_cast<size_t>(imageSize) + Picture::kSpareBytes);
    picture.bits.assign(rowBytes.begin(), rowBytes.end());
    picture.bits.resize(static_cast<size_t>(imageSize) + Picture::kSpareBytes, 0);
    out = std::move(picture);
    return true;
}

}  // namespace graphics
