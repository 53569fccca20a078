#include "graphics/BmpReader.h"

#include "platform/ByteSpan.h"
#include "graphics/FileBytes.h"

namespace graphics {

using platform::ByteSpan;
namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBitFields = 3;
constexpr uint64_t kColourMaskBytes = 12;

struct InfoHeader {
    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
};

bool Fail(Picture& out, std::string& reason, std::string why) {
    out = Picture{};
    reason = std::move(why);
    return false;
}

bool KnownDepth(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Where the pixel rows begin: after the info header, the optional colour masks and the colour table.
// Returns false when one of them runs past the end of the file.
bool PixelStart(const ByteSpan& in, const InfoHeader& info, uint64_t& at, std::string& reason) {
    at = kFileHeaderSize + info.size;
    if (info.size == kInfoHeaderSize && (info.bitCount == 16 || info.bitCount == 32) &&
        info.compression == kBitFields) {
        if (!in.Holds(at, kColourMaskBytes)) {
            reason = "colour masks run past the end of the file";
            return false;
        }
        at += kColourMaskBytes;
    }
    uint64_t colours = info.coloursUsed;
    if (colours == 0 && info.bitCount <= 8) colours = uint64_t{1} << info.bitCount;
    if (!in.Holds(at, colours * 4)) {
        reason = "colour table of " + std::to_string(colours) + " entries runs past the end of the file";
        return false;
    }
    at += colours * 4;
    return true;
}

}  // namespace

bool ParseBmpFile(std::span<const uint8_t> file, Picture& out, std::string& reason) {
    ByteSpan in(file);
    InfoHeader info;
    if (!in.U32(kFileHeaderSize, info.size))
        return Fail(out, reason, "bitmap file of " + std::to_string(in.Size()) + " bytes is too short");
    if (info.size < kInfoHeaderSize)
        return Fail(out, reason,
                    "bitmap info header of " + std::to_string(info.size) + " bytes is not supported");
    if (!in.Holds(kFileHeaderSize, info.size))
        return Fail(out, reason,
                    "bitmap info header of " + std::to_string(info.size) + " bytes runs past the file");
    in.I32(kFileHeaderSize + 4, info.width);
    in.I32(kFileHeaderSize + 8, info.height);
    in.U16(kFileHeaderSize + 14, info.bitCount);
    in.U32(kFileHeaderSize + 16, info.compression);
    in.U32(kFileHeaderSize + 32, info.coloursUsed);

    if (info.width <= 0)
        return Fail(out, reason, "bitmap width " + std::to_string(info.width) + " is not positive");
    if (info.height == 0 || !SidesWithinLimit(info.width, info.height))
        return Fail(out, reason, "bitmap of " + std::to_string(info.width) + " x " + std::to_string(info.height) +
                                     " is out of range");
    if (!KnownDepth(info.bitCount))
        return Fail(out, reason,
                    "bitmap depth of " + std::to_string(info.bitCount) + " bits is not supported");

    uint64_t at = 0;
    std::string why;
    if (!PixelStart(in, info, at, why)) return Fail(out, reason, why);

    uint64_t stride = RowStride(static_cast<uint32_t>(info.width), info.bitCount);
    uint64_t rows = static_cast<uint64_t>(info.height < 0 ? -static_cast<int64_t>(info.height) : info.height);
    uint64_t imageSize = stride * rows;  // < 2^35 x 2^31: no overflow
    if (imageSize > kMaxPictureBytes)
        return Fail(
            out, reason,
            "bitmap of " + std::to_string(info.width) + " x " + std::to_string(rows) + " is too large");
    if (!in.Holds(at, imageSize))
        return Fail(out, reason,
                    "bitmap rows need " + std::to_string(imageSize) + " bytes at " + std::to_string(at) +
                        ", file holds " + std::to_string(in.Size()));

    Picture picture;
    picture.width = info.width;
    picture.height = info.height;
    picture.bitsPerPixel = info.bitCount;
    picture.stride = static_cast<uint32_t>(stride);
    auto rowBytes = in.Sub(at, imageSize);
    picture.bits.reserve(static_cast<size_t>(imageSize) + Picture::kSpareBytes);
    picture.bits.assign(rowBytes.begin(), rowBytes.end());
    picture.bits.resize(static_cast<size_t>(imageSize) + Picture::kSpareBytes, 0);
    out = std::move(picture);
    return true;
}

bool ReadBmpFile(const std::string& path, Picture& out, std::string& reason, uint64_t maxBytes) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, reason, maxBytes)) {
        out = Picture{};
        return false;
    }
    if (!ParseBmpFile(bytes, out, reason)) {
        reason = path + ": " + reason;
        return false;
    }
    return true;
}

}  // namespace graphics
