// Feeds arbitrary bytes to OClip::LoadFromBytes, then plays the clip through every frame and its
// commands (hold, destroy, jumps to any index), clones it and destroys everything: loading must
// fail cleanly or give as many frames as the file names, and nothing may be left behind.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "graphics/ClipFileReader.h"
#include "graphics/LiveSet.h"
#include "graphics/OBitmap.h"
#include "graphics/OClip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const size_t liveBefore = live_set::Count();
    const int buffersBefore = OBitmap::LivePixelBuffers();

    graphics::ClipFile parsed;
    std::string reason;
    const bool parses = graphics::ParseClipFile(bytes, parsed, reason);

    auto* clip = new OClip();
    const bool loaded = clip->LoadFromBytes(bytes);
    if (loaded != parses) std::abort();
    if (!loaded && (clip->FrameCount() != 0 || live_set::Count() != liveBefore + 1)) std::abort();
    if (loaded && clip->FrameCount() != static_cast<int>(parsed.frames.size())) std::abort();

    OClip* copy = static_cast<OClip*>(clip->Clone());
    if (copy->FrameCount() != clip->FrameCount()) std::abort();
    // Play both well past every frame; a command may end either of them on the way.
    uint32_t now = 1;
    for (int step = 0; step < 64; ++step, now += 1000) {
        if (IsLive(clip)) clip->Step(now);
        if (IsLive(copy)) copy->Step(now);
    }
    if (IsLive(copy)) copy->Destroy();
    if (IsLive(clip)) clip->Destroy();
    if (live_set::Count() != liveBefore || OBitmap::LivePixelBuffers() != buffersBefore) std::abort();
    return 0;
}
