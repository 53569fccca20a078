// Feeds arbitrary bytes to the picture-record parser, then builds the key and the mask of every
// picture it accepts, touching each byte the blender will later read.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "graphics/PictureMask.h"
#include "graphics/PictureRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    graphics::Picture picture;
    std::string reason;
    if (!graphics::ParsePictureRecord(std::span<const uint8_t>(data, size), picture, reason)) {
        if (reason.empty() || !picture.bits.empty()) std::abort();
        return 0;
    }
    if (picture.bits.size() != picture.ImageSize() + graphics::Picture::kSpareBytes) std::abort();
    if (picture.ImageSize() > size - 16) std::abort();
    if (static_cast<uint64_t>(picture.bitsPerPixel) * static_cast<uint64_t>(picture.width) >
        picture.stride * 8ull)
        std::abort();
    auto key = graphics::KeyFromFirstPixel(picture);
    auto mask = graphics::BuildTransparencyMask(picture, key.value_or(picture.colourKey));
    if (mask.size() != picture.bits.size()) std::abort();
    return 0;
}
