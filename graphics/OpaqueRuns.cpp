#include "graphics/OpaqueRuns.h"

namespace {
uint32_t PixelValue(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
}
}  // namespace

void OpaqueRuns::Build(const uint8_t* bits, int32_t width, int32_t height, int32_t stride, int bitsPerPixel,
                       uint32_t key) {
    Clear();
    if (!bits || width <= 0 || height <= 0) return;
    const int bytes = bitsPerPixel / 8;
    width_ = width;
    rowStart_.reserve(static_cast<size_t>(height) + 1);
    for (int32_t row = 0; row < height; ++row) {
        rowStart_.push_back(static_cast<uint32_t>(runs_.size()));
        const uint8_t* p = bits + static_cast<size_t>(row) * static_cast<size_t>(stride);
        int32_t x = 0;
        while (x < width) {
            while (x < width && PixelValue(p + x * bytes) == key) ++x;
            int32_t start = x;
            while (x < width && PixelValue(p + x * bytes) != key) ++x;
            if (x > start) {
                runs_.push_back({start, x - start, static_cast<uint32_t>(start) * 3,
                                 static_cast<uint32_t>(x - start) * 3});
            }
        }
    }
    rowStart_.push_back(static_cast<uint32_t>(runs_.size()));
    // A key-free picture has one full-width run per row.
    allOpaque_ = runs_.size() == static_cast<size_t>(height);
    for (size_t i = 0; allOpaque_ && i < runs_.size(); ++i)
        allOpaque_ = runs_[i].start == 0 && runs_[i].length == width;
}

bool OpaqueRuns::Covers(int32_t row, int32_t from, int32_t to) const {
    if (row < 0 || row >= Rows() || from < 0 || to > width_ || from >= to) return false;
    if (allOpaque_) return true;
    for (const Run* r = RowBegin(row); r != RowEnd(row); ++r) {
        if (r->start > from) return false;  // runs are in order: none further on starts early enough
        if (r->start + r->length >= to) return true;
        if (r->start + r->length > from) return false;  // [from, to) reaches past this run's end
    }
    return false;
}

void OpaqueRuns::Clear() {
    width_ = 0;
    allOpaque_ = false;
    runs_.clear();
    rowStart_.clear();
}
