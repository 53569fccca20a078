#include "platform/WavFile.h"

#include <cstring>

#include "platform/ByteSpan.h"

namespace platform {
namespace {

constexpr uint64_t kRiffHeaderSize = 12;
constexpr uint64_t kChunkHeaderSize = 8;
constexpr uint64_t kPcmFormatSize = 16;
constexpr uint64_t kExtensibleFormatSize = 40;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

// The tail shared by every KSDATAFORMAT_SUBTYPE GUID; the PCM one starts with 01 00 00 00.
constexpr uint8_t kSubFormatPcm[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// A field the caller has already checked lies inside the span; 0 if it does not.
uint16_t U16(const ByteSpan& in, uint64_t offset) {
    uint16_t value = 0;
    in.U16(offset, value);
    return value;
}
uint32_t U32(const ByteSpan& in, uint64_t offset) {
    uint32_t value = 0;
    in.U32(offset, value);
    return value;
}
bool IsId(const uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

bool Fail(WavFile& out, std::string& reason, std::string why) {
    out = WavFile{};
    reason = std::move(why);
    return false;
}

bool ReadFormat(std::span<const uint8_t> body, WavFile& out, std::string& reason) {
    if (body.size() < kPcmFormatSize) return Fail(out, reason, "format chunk shorter than 16 bytes");
    const ByteSpan in(body);
    uint16_t tag = U16(in, 0);
    if (tag == kFormatExtensible) {
        if (body.size() < kExtensibleFormatSize || U16(in, 16) < 22)
            return Fail(out, reason, "extensible format chunk too short");
        if (std::memcmp(body.data() + 24, kSubFormatPcm, sizeof kSubFormatPcm) != 0)
            return Fail(out, reason, "extensible format is not PCM");
    } else if (tag != kFormatPcm) {
        return Fail(out, reason, "format " + std::to_string(tag) + " is not PCM");
    }
    out.channels = U16(in, 2);
    out.rate = U32(in, 4);
    uint16_t blockAlign = U16(in, 12);
    out.bitsPerSample = U16(in, 14);
    if (out.channels != 1 && out.channels != 2)
        return Fail(out, reason, std::to_string(out.channels) + " channels (1 or 2 are played)");
    if (out.bitsPerSample != 8 && out.bitsPerSample != 16)
        return Fail(out, reason, std::to_string(out.bitsPerSample) + " bits per sample (8 or 16 are played)");
    if (blockAlign != out.FrameBytes()) return Fail(out, reason, "block size does not match the format");
    if (out.rate < kMinWavRate || out.rate > kMaxWavRate)
        return Fail(out, reason, "sample rate " + std::to_string(out.rate) + " out of range");
    return true;
}

}  // namespace

bool ParseWavFile(std::span<const uint8_t> file, WavFile& out, std::string& reason) {
    out = WavFile{};
    if (file.size() < kRiffHeaderSize || !IsId(file.data(), "RIFF") || !IsId(file.data() + 8, "WAVE"))
        return Fail(out, reason, "not a RIFF/WAVE file");
    // The RIFF size is not used: writers that stream leave it wrong, and the chunks are checked
    // against the bytes actually present anyway.
    const uint64_t end = file.size();
    uint64_t at = kRiffHeaderSize;
    bool haveFormat = false;
    const ByteSpan in(file);
    while (at + kChunkHeaderSize <= end) {
        const uint8_t* header = file.data() + at;
        uint64_t size = U32(in, at + 4);
        uint64_t bodyStart = at + kChunkHeaderSize;
        if (IsId(header, "data")) {
            if (!haveFormat) return Fail(out, reason, "sample data before the format chunk");
            if (size > end - bodyStart) return Fail(out, reason, "sample data cut short");
            uint64_t whole = size - size % out.FrameBytes();
            if (whole == 0) return Fail(out, reason, "no samples");
            out.samples = file.subspan(bodyStart, whole);
            return true;
        }
        if (size > end - bodyStart) return Fail(out, reason, "chunk runs past the end of the file");
        if (IsId(header, "fmt ")) {
            if (haveFormat) return Fail(out, reason, "two format chunks");
            if (!ReadFormat(file.subspan(bodyStart, size), out, reason)) return false;
            haveFormat = true;
        }
        at = bodyStart + size + (size & 1);
    }
    return Fail(out, reason, haveFormat ? "no sample data" : "no format chunk");
}

}  // namespace platform
