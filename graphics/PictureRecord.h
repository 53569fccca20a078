#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "graphics/Picture.h"

namespace graphics {

// Size of the header in front of the pixel rows of a picture record.
inline constexpr size_t kPictureRecordHeaderSize = 16;

// Parses one picture record of a clip file: a 16-byte header (width, stored height, colour key, three
// channel sizes whose sum is the bits per pixel) followed by the pixel rows. `record` is exactly the
// entry's bytes as the clip file's table declares them; the rows must lie inside it.
//
// Accepted: a record longer than 16 bytes, width >= 0, any stored height but INT32_MIN, 8, 16, 24 or 32
// bits per pixel, and rows of stride x |height| bytes that fit the record (extra bytes after the rows
// are ignored). On failure `out` is left empty and `reason` holds one line saying why.
bool ParsePictureRecord(std::span<const uint8_t> record, Picture& out, std::string& reason);

}  // namespace graphics
