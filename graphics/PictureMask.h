#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/Picture.h"

namespace graphics {

// The colour key a picture takes from its first pixel in memory (for bottom-up rows that is the
// bottom-left pixel), masked to the pixel depth: 8, 16, 24 or 32 bits (depths below 8 use 8 bits).
// None when the picture has no pixels.
std::optional<uint32_t> KeyFromFirstPixel(const Picture& picture);

// The transparency mask of a picture for `key`: a buffer of the picture's size (stride x rows plus
// the spare bytes) in which every pixel equal to the key is all ones and every other byte is 0,
// including the padding at the end of each row. A pixel's value is its bytes read little-endian
// (blue + green x 256 + red x 65536 for 24 bits). Pictures below 8 bits per pixel get an all-zero mask.
std::vector<uint8_t> BuildTransparencyMask(const Picture& picture, uint32_t key);

}  // namespace graphics
