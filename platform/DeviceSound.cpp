#include "platform/DeviceSound.h"

#include <algorithm>

namespace platform {
namespace {

int32_t Sample(const WavFile& wav, uint64_t frame, uint32_t channel) {
    uint32_t ch = channel < wav.channels ? channel : 0;  // mono feeds both sides
    const uint8_t* p = wav.samples.data() + frame * wav.FrameBytes() + ch * (wav.bitsPerSample / 8);
    if (wav.bitsPerSample == 8) return (int32_t(p[0]) - 128) * 256;
    return int16_t(uint16_t(p[0] | (p[1] << 8)));
}

}  // namespace

uint32_t DeviceSound::DurationMs() const {
    return uint32_t((FrameCount() * 1000 + kDeviceRate - 1) / kDeviceRate);
}

bool ConvertToDevice(const WavFile& wav, DeviceSound& out, std::string& reason) {
    out = DeviceSound{};
    const uint64_t inFrames = wav.FrameCount();
    if (inFrames == 0 || wav.rate == 0) {
        reason = "no samples";
        return false;
    }
    // inFrames < 2^32 and the rates < 2^18, so the products below stay far inside 64 bits.
    const uint64_t outFrames = std::max<uint64_t>(1, inFrames * kDeviceRate / wav.rate);
    if (outFrames > kMaxDeviceSoundBytes / (kDeviceChannels * sizeof(int16_t))) {
        reason = "sound too long";
        return false;
    }
    out.samples.resize(outFrames * kDeviceChannels);
    int16_t* dst = out.samples.data();
    for (uint64_t i = 0; i < outFrames; ++i) {
        uint64_t position = i * wav.rate;  // in units of 1/kDeviceRate input frames
        uint64_t frame = position / kDeviceRate;
        int64_t fraction = int64_t(position % kDeviceRate);
        uint64_t next = frame + 1 < inFrames ? frame + 1 : frame;
        for (uint32_t c = 0; c < kDeviceChannels; ++c) {
            int64_t a = Sample(wav, frame, c);
            int64_t b = Sample(wav, next, c);
            *dst++ = int16_t(a + (b - a) * fraction / int64_t(kDeviceRate));
        }
    }
    return true;
}

}  // namespace platform
