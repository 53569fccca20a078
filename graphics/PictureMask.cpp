#include "graphics/PictureMask.h"

#include <cstring>

namespace graphics {
namespace {

uint32_t DepthMask(uint32_t bits) {
    if (bits <= 8) return 0xFFu;
    if (bits <= 16) return 0xFFFFu;
    if (bits <= 24) return 0xFFFFFFu;
    return 0xFFFFFFFFu;
}

bool HasPixels(const Picture& p) {
    return p.width > 0 && p.Rows() > 0 && p.stride > 0 &&
           p.bits.size() >= p.ImageSize() + Picture::kSpareBytes;
}

// The game's pictures are all 24-bit: compare bytes, not a word assembled per pixel, so a sheet
// of animation frames gets its masks in microseconds.
void MarkKey24(const Picture& picture, uint32_t key, size_t rowBytes, std::vector<uint8_t>& mask) {
    const uint8_t k0 = static_cast<uint8_t>(key), k1 = static_cast<uint8_t>(key >> 8),
                  k2 = static_cast<uint8_t>(key >> 16);
    for (int32_t row = 0; row < picture.Rows(); ++row) {
        const size_t base = static_cast<size_t>(row) * picture.stride;
        const uint8_t* src = picture.bits.data() + base;
        uint8_t* dst = mask.data() + base;
        for (size_t at = 0; at < rowBytes; at += 3) {
            const uint8_t hit = (src[at] == k0) & (src[at + 1] == k1) & (src[at + 2] == k2);
            const uint8_t fill = static_cast<uint8_t>(-hit);
            dst[at] = fill;
            dst[at + 1] = fill;
            dst[at + 2] = fill;
        }
    }
}

}  // namespace

std::optional<uint32_t> KeyFromFirstPixel(const Picture& picture) {
    if (!HasPixels(picture)) return std::nullopt;
    uint32_t word = 0;
    std::memcpy(&word, picture.bits.data(), sizeof word);  // the spare bytes make 4 bytes always readable
    return word & DepthMask(picture.bitsPerPixel);
}

std::vector<uint8_t> BuildTransparencyMask(const Picture& picture, uint32_t key) {
    std::vector<uint8_t> mask(picture.ImageSize() + Picture::kSpareBytes, 0);
    if (!HasPixels(picture) || picture.bitsPerPixel < 8) return mask;
    const size_t bytesPerPixel = picture.bitsPerPixel / 8;
    const size_t rowBytes = bytesPerPixel * static_cast<size_t>(picture.width);
    if (rowBytes > picture.stride) return mask;  // not a picture any loader makes; nothing to mark
    const uint32_t depthMask = DepthMask(picture.bitsPerPixel);
    key &= depthMask;
    if (bytesPerPixel == 3) {
        MarkKey24(picture, key, rowBytes, mask);
        return mask;
    }
    for (int32_t row = 0; row < picture.Rows(); ++row) {
        const size_t base = static_cast<size_t>(row) * picture.stride;
        const uint8_t* src = picture.bits.data() + base;
        uint8_t* dst = mask.data() + base;
        for (size_t at = 0; at < rowBytes; at += bytesPerPixel) {
            uint32_t value = 0;
            std::memcpy(&value, src + at, bytesPerPixel);
            if ((value & depthMask) == key) std::memset(dst + at, 0xFF, bytesPerPixel);
        }
    }
    return mask;
}

}  // namespace graphics
