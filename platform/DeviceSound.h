#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/WavFile.h"

namespace platform {

// The one format every sound is played in: the audio device is opened with it, and each WAV file is
// converted to it once, when it is first played, so playing never converts.
inline constexpr uint32_t kDeviceRate = 44100;
inline constexpr uint32_t kDeviceChannels = 2;  // 16-bit signed, native byte order, interleaved

// A converted sound larger than this is refused (about six minutes): an 8-bit mono file at a low
// rate grows up to 44 times, and the cap keeps a long file within reason.
inline constexpr uint64_t kMaxDeviceSoundBytes = 64ull << 20;

// A sound ready for the device.
struct DeviceSound {
    std::vector<int16_t> samples;  // left, right, left, right ... at kDeviceRate

    uint64_t FrameCount() const { return samples.size() / kDeviceChannels; }
    // Playing time in milliseconds, rounded up, so a caller who waits this long has heard it all.
    uint32_t DurationMs() const;
};

// Converts the PCM samples of a parsed WAV file: 8-bit samples are re-centred and widened, mono is
// doubled onto both sides, and other rates are resampled by linear interpolation. The output size is
// computed and checked against kMaxDeviceSoundBytes before anything is allocated. Failure leaves
// `out` empty and one line in `reason`.
bool ConvertToDevice(const WavFile& wav, DeviceSound& out, std::string& reason);

}  // namespace platform
