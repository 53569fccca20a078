// Feeds arbitrary bytes to the WAV parser, then converts every sound it accepts to the device format.
#include "platform/WavFile.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "platform/DeviceSound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> file(data, size);
    platform::WavFile wav;
    std::string reason;
    if (!platform::ParseWavFile(file, wav, reason)) {
        if (reason.empty() || !wav.samples.empty()) std::abort();
        return 0;
    }
    // The samples lie inside the file, in whole frames, and there is at least one.
    if (wav.samples.data() < data || wav.samples.data() + wav.samples.size() > data + size) std::abort();
    if (wav.FrameCount() == 0 || wav.samples.size() % wav.FrameBytes() != 0) std::abort();
    platform::DeviceSound sound;
    if (!platform::ConvertToDevice(wav, sound, reason)) {
        if (!sound.samples.empty()) std::abort();
        return 0;
    }
    if (sound.FrameCount() == 0 || sound.samples.size() * sizeof(int16_t) > platform::kMaxDeviceSoundBytes)
        std::abort();
    return 0;
}
