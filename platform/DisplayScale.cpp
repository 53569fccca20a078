#include "platform/DisplayScale.h"

#include <algorithm>
#include <cstring>

#include "platform/SurfaceRows.h"

namespace platform {

std::optional<int32_t> ParseScale(const std::string& text) {
    if (text.empty() || text == "auto") return 0;
    if (text.size() > 2) return std::nullopt;
    int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kMaxScale) return std::nullopt;
    return value;
}

int32_t FitScale(int32_t availableWidth, int32_t availableHeight, int32_t logicalWidth,
                 int32_t logicalHeight) {
    if (logicalWidth <= 0 || logicalHeight <= 0) return 1;
    const int32_t s = std::min(availableWidth / logicalWidth, availableHeight / logicalHeight);
    return std::clamp(s, 1, kMaxScale);
}

Placement CentredPlacement(int32_t windowWidth, int32_t windowHeight, int32_t logicalWidth,
                           int32_t logicalHeight) {
    Placement p;
    p.scale = FitScale(windowWidth, windowHeight, logicalWidth, logicalHeight);
    p.offsetX = std::max(0, (windowWidth - logicalWidth * p.scale) / 2);
    p.offsetY = std::max(0, (windowHeight - logicalHeight * p.scale) / 2);
    return p;
}

Placement DetailPlacement(int32_t windowWidth, int32_t windowHeight, int32_t logicalWidth,
                          int32_t logicalHeight, int32_t detail) {
    detail = std::max(detail, 1);
    Placement p;
    p.scale = std::max(1, FitScale(windowWidth, windowHeight, logicalWidth, logicalHeight) / detail);
    p.offsetX = std::max(0, (windowWidth - logicalWidth * detail * p.scale) / 2);
    p.offsetY = std::max(0, (windowHeight - logicalHeight * detail * p.scale) / 2);
    return p;
}

void ScaleRectToBgrx(const PictureView& picture, const Rect& rect, const Placement& at, uint8_t* dst,
                     int32_t dstPitch, uint8_t fourth) {
    const int32_t s = at.scale;
    if (s == 1 && at.offsetX == 0 && at.offsetY == 0) {
        CopyRectToBgrx(picture, rect, dst, dstPitch, fourth);
        return;
    }
    const int32_t w = rect.right - rect.left;
    if (w <= 0) return;
    const size_t rowBytes = static_cast<size_t>(w) * s * 4;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const uint8_t* from = picture.bits + static_cast<size_t>(picture.height - 1 - y) * picture.stride +
                              static_cast<size_t>(rect.left) * 3;
        uint8_t* first = dst + static_cast<ptrdiff_t>(at.offsetY + y * s) * dstPitch +
                         static_cast<ptrdiff_t>(at.offsetX + rect.left * s) * 4;
        // One scaled row is built, then copied into the other s - 1 rows of the square.
        auto* out = reinterpret_cast<uint32_t*>(first);
        for (int32_t x = 0; x < w; ++x, from += 3) {
            const uint32_t pixel = static_cast<uint32_t>(from[0]) | static_cast<uint32_t>(from[1]) << 8 |
                                   static_cast<uint32_t>(from[2]) << 16 |
                                   static_cast<uint32_t>(fourth) << 24;
            for (int32_t k = 0; k < s; ++k) *out++ = pixel;
        }
        for (int32_t k = 1; k < s; ++k) std::memcpy(first + static_cast<ptrdiff_t>(k) * dstPitch, first, rowBytes);
    }
}

}  // namespace platform
