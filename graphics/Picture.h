#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace graphics {

// One picture as it is held in memory: the rows exactly as the file stored them (bottom-up when the
// stored height is positive, as in a Windows device-independent bitmap), each row padded to a
// multiple of 4 bytes. `bits` holds stride x rows bytes plus 4 spare bytes, because the blender reads
// pixels as 32-bit words and may touch up to 3 bytes past the last pixel.
struct Picture {
    int32_t width = 0;
    int32_t height = 0;  // as stored: positive = bottom-up rows; the row count is its absolute value
    uint32_t colourKey = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t stride = 0;  // bytes per row
    std::vector<uint8_t> bits;

    static constexpr size_t kSpareBytes = 4;

    int32_t Rows() const { return height < 0 ? -height : height; }
    bool BottomUp() const { return height > 0; }
    // Bytes of pixel rows, without the spare bytes.
    size_t ImageSize() const { return static_cast<size_t>(stride) * static_cast<size_t>(Rows()); }
};

// The largest picture any loader accepts, in bytes of pixel rows. Far beyond anything the game draws
// (its window is 750 x 550), small enough that size arithmetic never comes near overflow.
inline constexpr uint64_t kMaxPictureBytes = 64ull << 20;

// The longest side any loader accepts, in pixels. A picture of 0 x 2147483647 holds no bytes at all,
// so the byte limit alone lets it through, and its bounds would overflow every conversion of a
// drawable's rectangle to integers.
inline constexpr int64_t kMaxPictureSide = 65535;

// Whether a width and a stored height (negative for top-down rows) are both within kMaxPictureSide.
inline bool SidesWithinLimit(int64_t width, int64_t height) {
    return width >= 0 && width <= kMaxPictureSide && height >= -kMaxPictureSide && height <= kMaxPictureSide;
}

// Stride of a row of `width` pixels of `bitsPerPixel`, padded to 4 bytes: ((bits x width + 31) / 32) x 4.
// Computed in 64 bits; callers check the result against kMaxPictureBytes before they use it.
inline uint64_t RowStride(uint64_t width, uint64_t bitsPerPixel) {
    return ((bitsPerPixel * width + 31) / 32) * 4;
}

}  // namespace graphics
