#pragma once
// Builds WAV files byte by byte for tests and benchmarks, including broken ones.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace testing_support {

struct WavChunk {
    std::string id;  // four characters
    std::vector<uint8_t> body;
    int64_t claimedSize = -1;  // the size written in the header; -1: the body's real size
};

inline void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// The 16-byte body of a "fmt " chunk; blockAlign 0 means the right one.
inline std::vector<uint8_t> FormatBody(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1,
                                       uint16_t blockAlign = 0) {
    if (blockAlign == 0) blockAlign = uint16_t(channels * bits / 8);
    std::vector<uint8_t> body;
    PutU16(body, tag);
    PutU16(body, channels);
    PutU32(body, rate);
    PutU32(body, rate * blockAlign);
    PutU16(body, blockAlign);
    PutU16(body, bits);
    return body;
}

// RIFF/WAVE around the chunks, each odd-sized body followed by its pad byte.
inline std::vector<uint8_t> RiffWave(const std::vector<WavChunk>& chunks) {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const auto& chunk : chunks) {
        out.insert(out.end(), chunk.id.begin(), chunk.id.end());
        PutU32(out, chunk.claimedSize >= 0 ? uint32_t(chunk.claimedSize) : uint32_t(chunk.body.size()));
        out.insert(out.end(), chunk.body.begin(), chunk.body.end());
        if (chunk.body.size() % 2) out.push_back(0);
    }
    uint32_t riffSize = uint32_t(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = uint8_t(riffSize >> (8 * i));
    return out;
}

// Sample bytes of `frames` frames: a rising ramp, so every sample differs from its neighbours.
inline std::vector<uint8_t> RampSamples(uint16_t channels, uint16_t bits, uint32_t frames) {
    std::vector<uint8_t> body;
    for (uint32_t f = 0; f < frames; ++f) {
        for (uint16_t c = 0; c < channels; ++c) {
            uint32_t v = f * 7 + c * 3;
            if (bits == 8)
                body.push_back(uint8_t(v));
            else
                PutU16(body, (v * 100) & 0xFFFF);
        }
    }
    return body;
}

// A well-formed PCM file of `frames` frames.
inline std::vector<uint8_t> PcmWav(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames) {
    return RiffWave(
        {{"fmt ", FormatBody(channels, rate, bits)}, {"data", RampSamples(channels, bits, frames)}});
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace testing_support
