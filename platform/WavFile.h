#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace platform {

// WAV files larger than this are refused before they are read: the game's sounds are a few seconds.
inline constexpr uint64_t kMaxWavFileBytes = 16ull << 20;

// The sample rates a sound may have; anything outside is taken for a damaged header.
inline constexpr uint32_t kMinWavRate = 4000;
inline constexpr uint32_t kMaxWavRate = 192000;

// The PCM samples of a WAV file: where they lie in the file's bytes and how to read them. `samples`
// points into the bytes given to ParseWavFile and is valid only as long as they are.
struct WavFile {
    uint16_t channels = 0;             // 1 or 2
    uint16_t bitsPerSample = 0;        // 8 (unsigned) or 16 (signed little-endian)
    uint32_t rate = 0;                 // frames per second
    std::span<const uint8_t> samples;  // whole frames only

    uint32_t FrameBytes() const { return uint32_t(channels) * bitsPerSample / 8; }
    uint64_t FrameCount() const { return FrameBytes() ? samples.size() / FrameBytes() : 0; }
};

// Parses a RIFF/WAVE file held in memory. Chunks are walked one by one (an odd-sized chunk is followed
// by a pad byte), unknown ones (LIST, fact, cue ...) skipped, until the first "data" chunk; the "fmt "
// chunk must come before it, once. The format must be PCM (tag 1, or the extensible tag with the PCM
// sub-format), 1 or 2 channels, 8 or 16 bits, a block size that matches, and a rate within
// [kMinWavRate, kMaxWavRate].
//
// No size in the file is trusted: every chunk must fit in the bytes present (the RIFF size is not
// used), a data chunk that claims more than is there fails (a truncated file), a trailing partial
// frame is ignored, and a data chunk without a single frame fails. Only a missing pad byte after the
// data is forgiven. Nothing is allocated. Failure leaves `out` empty and one line in `reason`.
bool ParseWavFile(std::span<const uint8_t> file, WavFile& out, std::string& reason);

}  // namespace platform
