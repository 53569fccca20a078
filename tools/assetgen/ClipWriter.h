#pragma once
// Writers of the game's picture files: clip files (a header, a table of pictures and frames,
// then one picture record per picture) and BMP files. Little-endian throughout.

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/ClipFormat.h"
#include "graphics/PictureRecord.h"
#include "tools/assetgen/Picture.h"

namespace assetgen {

// Frame commands a clip runs after showing a frame: the game's own codes.
using graphics::clip_format::kDestroy;
using graphics::clip_format::kHold;
using graphics::clip_format::kHoldAt;
using graphics::clip_format::kPlayFrom;

struct ClipFrame {
    double x = 0, y = 0, depth = 0;
    int16_t picture = 0;
    std::vector<int32_t> commands;
};

struct ClipData {
    float frameRate = 10.0f;
    std::vector<Picture> pictures;
    std::vector<ClipFrame> frames;

    // One frame per picture, in order, each at offset 0 and without commands.
    static ClipData Sequence(std::vector<Picture> pictures, float frameRate);
};

// The layout the game reads (graphics/ClipFormat.h, graphics/PictureRecord.h).
constexpr uint32_t kClipMagic = graphics::clip_format::kMagic;
constexpr size_t kClipHeaderSize = graphics::clip_format::kHeaderSize;
constexpr size_t kPictureEntrySize = graphics::clip_format::kPictureEntrySize;
constexpr size_t kFrameEntrySize = graphics::clip_format::kFrameEntrySize;
constexpr size_t kPictureHeaderSize = graphics::kPictureRecordHeaderSize;

// Row size in bytes of a 24-bit picture, padded to a multiple of four.
constexpr size_t Stride24(int width) { return ((24u * static_cast<size_t>(width) + 31u) / 32u) * 4u; }

// One picture record: width, height (positive: rows stored bottom-up), colour key, channel bits
// 8/8/8, then the padded rows.
std::vector<uint8_t> EncodePictureRecord(const Picture& picture);

// A whole clip file. Returns false (and leaves `out` empty) when the clip cannot be written:
// no pictures, a frame naming a picture that does not exist, or more entries than the format holds.
bool EncodeClip(const ClipData& clip, std::vector<uint8_t>& out, std::string* error = nullptr);

// An uncompressed 24-bit BMP file, rows bottom-up.
std::vector<uint8_t> EncodeBmp(const Picture& picture);

}  // namespace assetgen
