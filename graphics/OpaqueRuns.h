#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The pixels of a picture that are not the colour key, as runs per memory row. Built once when a
// picture gets its key (a bitmap's transparency mask), so the blender copies whole runs instead of
// comparing every pixel with the key on every frame.
class OpaqueRuns {
  public:
    struct Run {
        int32_t start;   // first pixel of the run
        int32_t length;  // number of pixels, at least 1
        // The same in bytes of 24-bit pixels, so the copy of an unclipped row multiplies nothing.
        uint32_t byteOffset;
        uint32_t byteCount;
    };

    // Scans width x height pixels of `bitsPerPixel` (24 or 32) with `stride` bytes per memory row.
    // A key is compared with blue + green * 256 + red * 65536.
    void Build(const uint8_t* bits, int32_t width, int32_t height, int32_t stride, int bitsPerPixel,
               uint32_t key);
    void Clear();

    int32_t Rows() const { return static_cast<int32_t>(rowStart_.empty() ? 0 : rowStart_.size() - 1); }
    const Run* RowBegin(int32_t row) const { return runs_.data() + rowStart_[static_cast<size_t>(row)]; }
    const Run* RowEnd(int32_t row) const { return runs_.data() + rowStart_[static_cast<size_t>(row) + 1]; }
    size_t RunCount() const { return runs_.size(); }
    // The widest row the runs were built for.
    int32_t Width() const { return width_; }
    const Run* Data() const { return runs_.data(); }
    // True when memory row `row` has no key pixel in columns [from, to): one run spans them, since
    // runs never touch. False for rows or columns outside the picture.
    bool Covers(int32_t row, int32_t from, int32_t to) const;
    // True when the picture has no key pixel at all, so any part of it covers what lies below.
    bool AllOpaque() const { return allOpaque_; }
    const uint32_t* RowStarts() const { return rowStart_.data(); }

  private:
    std::vector<Run> runs_;
    std::vector<uint32_t> rowStart_;  // Rows() + 1 entries
    int32_t width_ = 0;
    bool allOpaque_ = false;
};
