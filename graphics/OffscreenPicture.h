#pragma once
#include <cstdint>
#include <vector>

#include "graphics/ORect.h"
#include "platform/NativeWindow.h"

// A window's off-screen picture: 24-bit blue-green-red pixels, rows bottom-up in memory (window row
// y is memory row height - 1 - y), stride ((24 * width + 31) / 32) * 4 bytes. Allocated once at
// the size of the screen, so moving a window never reallocates it. A prepared background row makes
// clearing an area one block copy per row.
class OffscreenPicture {
  public:
    // `background` is a colour value, 0x00BBGGRR. A size below 1 becomes 1.
    OffscreenPicture(int32_t width, int32_t height, uint32_t background);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t Stride() const { return stride_; }
    static constexpr int kBytesPerPixel = 3;
    uint8_t* Bits() { return bits_.data(); }
    const uint8_t* Bits() const { return bits_.data(); }
    // The memory row of window row y.
    uint8_t* Row(int32_t y) { return bits_.data() + static_cast<size_t>(height_ - 1 - y) * stride_; }
    const uint8_t* Row(int32_t y) const {
        return bits_.data() + static_cast<size_t>(height_ - 1 - y) * stride_;
    }
    // The background pixel: blue, green, red, 0.
    const uint8_t* BackgroundPixel() const { return backgroundPixel_; }

    // Copies the background row into the part of the picture the rectangle covers (clamped).
    void FillBackground(const ORect& rect);
    platform::PictureView View() const { return {bits_.data(), width_, height_, stride_}; }

    static int32_t StrideFor(int32_t width) { return ((24 * width + 31) / 32) * 4; }

  private:
    int32_t width_;
    int32_t height_;
    int32_t stride_;
    uint8_t backgroundPixel_[4];
    std::vector<uint8_t> backgroundRow_;
    std::vector<uint8_t> bits_;  // stride * height, plus 4 spare bytes for word-wise readers
};
