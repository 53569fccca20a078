#include "tools/assetgen/ClipWriter.h"

#include <cstring>
#include <limits>

namespace assetgen {
namespace {

class ByteSink {
public:
    explicit ByteSink(std::vector<uint8_t>& out) : out_(out) {}
    void U8(uint8_t v) { out_.push_back(v); }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        U32(bits);
    }
    void F64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i) U8(static_cast<uint8_t>(bits >> (8 * i)));
    }
    void Zeros(size_t n) { out_.insert(out_.end(), n, 0); }

private:
    std::vector<uint8_t>& out_;
};

void AppendRowsBottomUp(const Picture& picture, std::vector<uint8_t>& out) {
    const size_t stride = Stride24(picture.width);
    const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
    for (int y = picture.height - 1; y >= 0; --y) {
        const uint8_t* row = picture.bgr.data() + static_cast<size_t>(y) * rowBytes;
        out.insert(out.end(), row, row + rowBytes);
        out.insert(out.end(), stride - rowBytes, 0);
    }
}

bool Fail(std::string* error, const char* what) {
    if (error) *error = what;
    return false;
}

}  // namespace

ClipData ClipData::Sequence(std::vector<Picture> pictures, float frameRate) {
    ClipData clip;
    clip.frameRate = frameRate;
    clip.pictures = std::move(pictures);
    for (size_t i = 0; i < clip.pictures.size(); ++i) {
        ClipFrame frame;
        frame.picture = static_cast<int16_t>(i);
        clip.frames.push_back(frame);
    }
    return clip;
}

std::vector<uint8_t> EncodePictureRecord(const Picture& picture) {
    std::vector<uint8_t> out;
    out.reserve(kPictureHeaderSize + Stride24(picture.width) * static_cast<size_t>(picture.height));
    ByteSink sink(out);
    sink.I32(picture.width);
    sink.I32(picture.height);
    sink.U32(picture.key);
    sink.U8(8);
    sink.U8(8);
    sink.U8(8);
    sink.U8(0);
    AppendRowsBottomUp(picture, out);
    return out;
}

bool EncodeClip(const ClipData& clip, std::vector<uint8_t>& out, std::string* error) {
    out.clear();
    if (clip.pictures.empty()) return Fail(error, "a clip needs at least one picture");
    if (clip.pictures.size() > static_cast<size_t>(std::numeric_limits<int16_t>::max()) ||
        clip.frames.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return Fail(error, "too many pictures or frames");
    for (const Picture& p : clip.pictures) {
        if (p.width <= 0 || p.height <= 0 ||
            p.bgr.size() != static_cast<size_t>(p.width) * static_cast<size_t>(p.height) * 3)
            return Fail(error, "a picture has no pixels or the wrong number of them");
    }
    size_t tableSize = clip.pictures.size() * kPictureEntrySize;
    for (const ClipFrame& f : clip.frames) {
        if (f.picture < 0 || static_cast<size_t>(f.picture) >= clip.pictures.size())
            return Fail(error, "a frame names a picture that does not exist");
        if (f.commands.size() > std::numeric_limits<uint16_t>::max())
            return Fail(error, "a frame has too many commands");
        tableSize += kFrameEntrySize + 4 * f.commands.size();
    }

    std::vector<std::vector<uint8_t>> records;
    size_t total = kClipHeaderSize + tableSize;
    for (const Picture& p : clip.pictures) {
        records.push_back(EncodePictureRecord(p));
        total += records.back().size();
    }
    if (total > std::numeric_limits<uint32_t>::max()) return Fail(error, "the clip is larger than 4 GB");

    out.reserve(total);
    ByteSink sink(out);
    sink.U32(kClipMagic);
    sink.U32(0);
    sink.U32(static_cast<uint32_t>(tableSize));
    sink.Zeros(8);
    sink.F32(clip.frameRate);
    sink.I32(static_cast<int32_t>(clip.pictures.size()));
    sink.I32(static_cast<int32_t>(clip.frames.size()));

    size_t position = kClipHeaderSize + tableSize;
    for (const auto& record : records) {
        sink.U32(static_cast<uint32_t>(position));
        sink.U32(static_cast<uint32_t>(record.size()));
        sink.U16(graphics::clip_format::kBitmapPictureType);
        sink.U16(0);
        position += record.size();
    }
    for (const ClipFrame& f : clip.frames) {
        sink.F64(f.x);
        sink.F64(f.y);
        sink.F64(f.depth);
        sink.U16(static_cast<uint16_t>(f.picture));
        sink.U16(static_cast<uint16_t>(f.commands.size()));
        sink.U32(0);
        for (int32_t c : f.commands) sink.I32(c);
    }
    for (const auto& record : records) out.insert(out.end(), record.begin(), record.end());
    return true;
}

std::vector<uint8_t> EncodeBmp(const Picture& picture) {
    const size_t imageSize = Stride24(picture.width) * static_cast<size_t>(picture.height);
    std::vector<uint8_t> out;
    out.reserve(54 + imageSize);
    ByteSink sink(out);
    sink.U8('B');
    sink.U8('M');
    sink.U32(static_cast<uint32_t>(54 + imageSize));
    sink.U32(0);
    sink.U32(54);
    sink.U32(40);
    sink.I32(picture.width);
    sink.I32(picture.height);
    sink.U16(1);
    sink.U16(24);
    sink.U32(0);
    sink.U32(static_cast<uint32_t>(imageSize));
    sink.I32(2835);
    sink.I32(2835);
    sink.U32(0);
    sink.U32(0);
    AppendRowsBottomUp(picture, out);
    return out;
}

}  // namespace assetgen
