#include "graphics/OffscreenPicture.h"

#include <algorithm>
#include <cstring>

OffscreenPicture::OffscreenPicture(int32_t width, int32_t height, uint32_t background)
    : width_(std::clamp(width, 1, 1 << 14)),
      height_(std::clamp(height, 1, 1 << 14)),
      stride_(StrideFor(width_)) {
    backgroundPixel_[0] = static_cast<uint8_t>(background >> 16);  // blue
    backgroundPixel_[1] = static_cast<uint8_t>(background >> 8);   // green
    backgroundPixel_[2] = static_cast<uint8_t>(background);        // red
    backgroundPixel_[3] = 0;
    backgroundRow_.assign(static_cast<size_t>(stride_), 0);
    for (int32_t x = 0; (x + 1) * kBytesPerPixel <= stride_; ++x) {
        std::memcpy(&backgroundRow_[static_cast<size_t>(x) * kBytesPerPixel], backgroundPixel_,
                    kBytesPerPixel);
    }
    bits_.assign(static_cast<size_t>(stride_) * static_cast<size_t>(height_) + 4, 0);
}

void OffscreenPicture::FillBackground(const ORect& rect) {
    if (rect.left >= width_ || rect.right <= 0 || rect.top >= height_ || rect.bottom <= 0) return;
    int32_t left = std::max(rect.left, 0), right = std::min(rect.right, width_);
    int32_t top = std::max(rect.top, 0), bottom = std::min(rect.bottom, height_);
    if (left >= right || top >= bottom) return;
    size_t offset = static_cast<size_t>(left) * kBytesPerPixel;
    size_t bytes = static_cast<size_t>(right - left) * kBytesPerPixel;
    for (int32_t y = top; y < bottom; ++y)
        std::memcpy(Row(y) + offset, backgroundRow_.data() + offset, bytes);
}
