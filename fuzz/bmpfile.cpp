// Feeds arbitrary bytes to the Windows bitmap parser, then builds the key and mask of every picture
// it accepts.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "graphics/BmpReader.h"
#include "graphics/PictureMask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    graphics::Picture picture;
    std::string reason;
    if (!graphics::ParseBmpFile(std::span<const uint8_t>(data, size), picture, reason)) {
        if (reason.empty() || !picture.bits.empty()) std::abort();
        return 0;
    }
    if (picture.bits.size() != picture.ImageSize() + graphics::Picture::kSpareBytes) std::abort();
    if (picture.ImageSize() > size) std::abort();
    auto key = graphics::KeyFromFirstPixel(picture);
    if (!key) std::abort();
    auto mask = graphics::BuildTransparencyMask(picture, *key);
    if (mask.size() != picture.bits.size()) std::abort();
    return 0;
}
