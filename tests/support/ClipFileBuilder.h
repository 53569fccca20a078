#pragma once
// Writes clip files and picture records byte by byte for tests and benchmarks, so each test can
// build exactly the file it needs and then break one field of it.
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace testing_support {

// Grown and copied into rather than inserted into: GCC 12 at -O3 takes the inlined insert into a
// vector that starts empty for a write into a region of size 0 (a false -Wstringop-overflow).
inline void PutBytes(std::vector<uint8_t>& out, const void* p, size_t n) {
    const size_t at = out.size();
    out.resize(at + n);
    std::memcpy(out.data() + at, p, n);
}
template <typename T>
void Put(std::vector<uint8_t>& out, T value) {
    PutBytes(out, &value, sizeof value);
}
template <typename T>
void PutAt(std::vector<uint8_t>& out, size_t offset, T value) {
    std::memcpy(out.data() + offset, &value, sizeof value);
}

// A picture record: 16-byte header, then rows of `width` pixels padded to 4 bytes. The pixel at
// (column, memory row) gets pixel(column, row) (blue, green, red for 24 bits, little-endian value).
inline std::vector<uint8_t> PictureRecordBytes(int32_t width, int32_t height, uint32_t key,
                                               std::function<uint32_t(int, int)> pixel = nullptr,
                                               uint8_t c1 = 8, uint8_t c2 = 8, uint8_t c3 = 8) {
    std::vector<uint8_t> out;
    Put(out, width);
    Put(out, height);
    Put(out, key);
    Put(out, c1);
    Put(out, c2);
    Put(out, c3);
    Put(out, uint8_t{0});
    int bits = c1 + c2 + c3, bytes = bits / 8;
    size_t stride = ((static_cast<size_t>(bits) * width + 31) / 32) * 4;
    int rows = height < 0 ? -height : height;
    for (int r = 0; r < rows; ++r) {
        size_t start = out.size();
        for (int c = 0; c < width; ++c) {
            uint32_t v = pixel ? pixel(c, r) : static_cast<uint32_t>(r * 977 + c * 131);
            PutBytes(out, &v, bytes);
        }
        out.resize(start + stride, 0);
    }
    return out;
}

struct FrameSpec {
    double x = 0, y = 0, depth = 0;
    int16_t picture = 0;
    std::vector<int32_t> commands;
};

// Byte offsets of the header fields, for tests that break them.
constexpr size_t kMagicOffset = 0, kTableSizeOffset = 8, kRateOffset = 20, kPictureCountOffset = 24,
                 kFrameCountOffset = 28, kTableOffset = 32, kPictureEntrySize = 12, kFrameEntrySize = 32;

class ClipFileBuilder {
  public:
    ClipFileBuilder& Rate(float rate) {
        rate_ = rate;
        return *this;
    }
    ClipFileBuilder& Picture(std::vector<uint8_t> record, uint16_t type = 1) {
        pictures_.push_back({std::move(record), type});
        return *this;
    }
    ClipFileBuilder& Frame(FrameSpec frame) {
        frames_.push_back(std::move(frame));
        return *this;
    }

    std::vector<uint8_t> Build() const {
        std::vector<uint8_t> frameTable;
        for (const auto& f : frames_) {
            Put(frameTable, f.x);
            Put(frameTable, f.y);
            Put(frameTable, f.depth);
            Put(frameTable, f.picture);
            Put(frameTable, static_cast<uint16_t>(f.commands.size()));
            Put(frameTable, uint32_t{0});
            for (int32_t c : f.commands) Put(frameTable, c);
        }
        uint32_t tableSize = static_cast<uint32_t>(pictures_.size() * kPictureEntrySize + frameTable.size());
        std::vector<uint8_t> out;
        Put(out, uint32_t{137});
        Put(out, uint32_t{0});
        Put(out, tableSize);
        Put(out, uint32_t{0});
        Put(out, uint32_t{0});
        Put(out, rate_);
        Put(out, static_cast<int32_t>(pictures_.size()));
        Put(out, static_cast<int32_t>(frames_.size()));
        uint32_t position = static_cast<uint32_t>(kTableOffset + tableSize);
        for (const auto& p : pictures_) {
            Put(out, position);
            Put(out, static_cast<uint32_t>(p.record.size()));
            Put(out, p.type);
            Put(out, uint16_t{0});
            position += static_cast<uint32_t>(p.record.size());
        }
        out.insert(out.end(), frameTable.begin(), frameTable.end());
        for (const auto& p : pictures_) out.insert(out.end(), p.record.begin(), p.record.end());
        return out;
    }

  private:
    struct PictureSpec {
        std::vector<uint8_t> record;
        uint16_t type;
    };
    float rate_ = 10.0f;
    std::vector<PictureSpec> pictures_;
    std::vector<FrameSpec> frames_;
};

}  // namespace testing_support
