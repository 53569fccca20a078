#include "ClipBytes.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace assettest {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

static double F64(const std::vector<uint8_t>& b, size_t at) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | b[at + static_cast<size_t>(i)];
    double d;
    std::memcpy(&d, &v, 8);
    return d;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string ReadClip(const std::vector<uint8_t>& b, ClipView& out) {
    out = ClipView{};
    if (b.size() < 32) return "shorter than the header";
    if (U32(b, 0) != 137) return "wrong magic";
    out.tableSize = U32(b, 8);
    uint32_t rate = U32(b, 20);
    std::memcpy(&out.frameRate, &rate, 4);
    const int32_t pictures = static_cast<int32_t>(U32(b, 24)), frames = static_cast<int32_t>(U32(b, 28));
    if (pictures < 1 || frames < 1) return "no pictures or no frames";
    if (32 + static_cast<uint64_t>(out.tableSize) > b.size()) return "table passes the end";
    const size_t tableEnd = 32 + out.tableSize;
    size_t at = 32;
    for (int i = 0; i < pictures; ++i) {
        if (at + 12 > tableEnd) return "picture entries pass the table";
        RecordView r;
        r.offset = U32(b, at);
        r.size = U32(b, at + 4);
        if (U16(b, at + 8) != 1) return "a picture entry is not of type 1";
        at += 12;
        if (r.size <= 16 || r.offset < tableEnd || r.offset + r.size > b.size()) return "a picture record is out of place";
        r.width = static_cast<int32_t>(U32(b, r.offset));
        r.height = static_cast<int32_t>(U32(b, r.offset + 4));
        r.key = U32(b, r.offset + 8);
        r.bits = b[r.offset + 12] + b[r.offset + 13] + b[r.offset + 14];
        if (r.width <= 0 || r.height <= 0) return "a picture has no size";
        const uint64_t stride = ((static_cast<uint64_t>(r.bits) * r.width + 31) / 32) * 4;
        if (16 + stride * static_cast<uint64_t>(r.height) != r.size) return "a picture record has the wrong size";
        out.pictures.push_back(r);
    }
    for (int i = 0; i < frames; ++i) {
        if (at + 32 > tableEnd) return "frame entries pass the table";
        FrameView f;
        f.x = F64(b, at);
        f.y = F64(b, at + 8);
        f.depth = F64(b, at + 16);
        f.picture = static_cast<int16_t>(U16(b, at + 24));
        const uint16_t n = U16(b, at + 26);
        at += 32;
        if (at + 4u * n > tableEnd) return "frame commands pass the table";
        for (uint16_t c = 0; c < n; ++c, at += 4) f.commands.push_back(static_cast<int32_t>(U32(b, at)));
        if (f.picture < 0 || f.picture >= pictures) return "a frame names a missing picture";
        out.frames.push_back(f);
    }
    if (at != tableEnd) return "the table size does not match its entries";
    return "";
}

}  // namespace assettest
