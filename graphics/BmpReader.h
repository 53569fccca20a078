#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "graphics/Picture.h"

namespace graphics {

// BMP files larger than this are refused before they are read.
inline constexpr uint64_t kMaxBitmapFileBytes = 64ull << 20;

// Parses a BMP file held in memory the way the game reads its picture sheet:
// after the 14-byte file header comes the info header of n bytes; with n = 40, 16 or 32 bits and
// bit-field compression, 12 bytes of colour masks follow; then the colour table (its count, or 2^bits
// for 1, 4 and 8 bits when the count is 0); and the pixel rows start right there, where the reading
// stands (the file header's pixel offset is not used). The rows keep their stored order (a positive
// height is bottom-up); the colour key is left 0 (the caller takes it from the first pixel).
//
// Every size is checked against the file: an info header shorter than 40 bytes or longer than the
// file, a colour table or pixel rows that do not fit, a width <= 0, a height of 0, a depth other than
// 1, 4, 8, 16, 24 or 32 bits, or a picture above kMaxPictureBytes fail with one line in `reason`.
// Exactly stride x |height| bytes of rows are kept (an image size in the header that is larger is not
// needed; one that is smaller is not trusted), plus the 4 spare bytes.
bool ParseBmpFile(std::span<const uint8_t> file, Picture& out, std::string& reason);

// Reads the file at `path` (already resolved) and parses it.
bool ReadBmpFile(const std::string& path, Picture& out, std::string& reason,
                 uint64_t maxBytes = kMaxBitmapFileBytes);

}  // namespace graphics
