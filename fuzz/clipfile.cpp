// Feeds arbitrary bytes to the clip-file parser: it must fail cleanly or return a clip whose every
// frame names an existing picture and whose pictures hold all the bytes their size claims.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "graphics/ClipFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    graphics::ClipFile clip;
    std::string reason;
    std::span<const uint8_t> bytes(data, size);
    if (!graphics::ParseClipFile(bytes, clip, reason)) {
        if (reason.empty() || !clip.pictures.empty() || !clip.frames.empty()) std::abort();
        return 0;
    }
    if (clip.frameRate < 0) std::abort();
    for (const auto& frame : clip.frames)
        if (frame.pictureIndex < 0 || static_cast<size_t>(frame.pictureIndex) >= clip.pictures.size())
            std::abort();
    for (const auto& picture : clip.pictures) {
        if (picture.bits.size() != picture.ImageSize() + graphics::Picture::kSpareBytes) std::abort();
        volatile uint8_t last = picture.bits.back();
        (void)last;
    }
    return 0;
}
