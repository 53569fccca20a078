// The present's copy of picture rectangles into a window framebuffer of 32-bit pixels.
#include <gtest/gtest.h>

#include <vector>

#include "platform/SurfaceRows.h"

namespace {

using platform::PictureView;
using platform::Rect;

// A picture whose every byte tells where it came from; rows bottom-up as the engine keeps them.
struct Picture {
    Picture(int32_t w, int32_t h) : width(w), height(h), stride(((24 * w + 31) / 32) * 4) {
        bits.resize(static_cast<size_t>(stride) * h + 4);
        for (size_t i = 0; i < bits.size(); ++i) bits[i] = static_cast<uint8_t>(i * 7 + i / 251);
    }
    PictureView View() const { return {bits.data(), width, height, stride}; }
    // Blue, green, red of window pixel (x, y).
    const uint8_t* At(int32_t x, int32_t y) const {
        return bits.data() + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3;
    }
    int32_t width, height, stride;
    std::vector<uint8_t> bits;
};

TEST(SurfaceRows, EveryPixelOfTheRectangleLandsInPlaceAndNothingElseIsTouched) {
    const Picture picture(61, 23);
    // Widths around the four-pixel steps and the six-pixel tail, at every alignment, and whole rows.
    const Rect rects[] = {{0, 0, 1, 1},   {3, 2, 4, 9},   {5, 1, 10, 4},   {7, 0, 13, 23},
                          {1, 5, 8, 6},   {2, 3, 11, 8},  {0, 22, 61, 23}, {54, 10, 61, 20},
                          {0, 0, 61, 23}, {9, 9, 46, 17}, {60, 0, 61, 23}};
    for (const Rect& r : rects) {
        for (uint8_t fourth : {uint8_t{0x00}, uint8_t{0xFF}}) {
            const int32_t pitch = 61 * 4 + 12;  // framebuffers may pad their rows
            std::vector<uint8_t> surface(static_cast<size_t>(pitch) * 23, 0xAB);
            platform::CopyRectToBgrx(picture.View(), r, surface.data(), pitch, fourth);
            int wrong = 0;
            for (int32_t y = 0; y < 23; ++y) {
                for (int32_t x = 0; x < 61; ++x) {
                    const uint8_t* d =
                        surface.data() + static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * 4;
                    if (r.Contains(x, y)) {
                        const uint8_t* s = picture.At(x, y);
                        wrong += d[0] != s[0] || d[1] != s[1] || d[2] != s[2] || d[3] != fourth;
                    } else {
                        wrong += d[0] != 0xAB || d[1] != 0xAB || d[2] != 0xAB || d[3] != 0xAB;
                    }
                }
                for (int32_t b = 61 * 4; b < pitch; ++b)
                    wrong += surface[static_cast<size_t>(y) * pitch + b] != 0xAB;
            }
            EXPECT_EQ(wrong, 0) << "rectangle " << r.left << "," << r.top << "-" << r.right << "," << r.bottom
                                << ", fourth byte " << int{fourth};
        }
    }
}

}  // namespace
