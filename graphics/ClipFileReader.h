#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "graphics/Picture.h"

namespace graphics {

// One frame entry of a clip file: where its picture sits within the clip, which picture it shows
// (an index into ClipFile::pictures, always valid after a successful parse) and its frame commands.
struct ClipFrame {
    double x = 0, y = 0, depth = 0;
    int pictureIndex = 0;
    std::vector<int32_t> commands;
};

// A whole clip file: the frame rate (frames per second, truncated, never negative), the pictures of
// type 1 in table order, and the frames in file order. Several frames may name one picture.
struct ClipFile {
    int frameRate = 0;
    std::vector<Picture> pictures;
    std::vector<ClipFrame> frames;
};

// Clip files larger than this are refused before they are read: the game's largest is a few hundred KB.
inline constexpr uint64_t kMaxClipFileBytes = 64ull << 20;

// Frame offsets further than this from the clip's origin are refused: positions are held as floats
// and truncated to int for drawing, which is only defined for values that fit.
inline constexpr double kMaxFrameOffset = 1.0e6;

// Parses a clip file held in memory, in the format ClipFormat.h describes.
//
// Every count, offset and size is checked against the bytes present; anything that does not fit, a
// frame naming a missing picture or a picture record that cannot be read fails the whole parse, with
// `out` left empty and one line in `reason`.
bool ParseClipFile(std::span<const uint8_t> file, ClipFile& out, std::string& reason);

// Reads the file at `path` (a real path, already resolved) and parses it. Files larger than
// `maxBytes` are refused without being read.
bool ReadClipFile(const std::string& path, ClipFile& out, std::string& reason,
                  uint64_t maxBytes = kMaxClipFileBytes);

}  // namespace graphics
