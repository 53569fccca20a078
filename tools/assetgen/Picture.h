#pragma once
// Plain picture data as the game's files hold it: 24-bit pixels and one colour key.

#include <cstdint>
#include <vector>

namespace assetgen {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour key value as the picture record stores it: blue + green * 256 + red * 65536.
constexpr uint32_t KeyValue(Rgb c) { return c.b + c.g * 256u + c.r * 65536u; }
constexpr Rgb FromKeyValue(uint32_t v) {
    return Rgb{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

// Pixels are kept top-down, three bytes blue, green, red per pixel, no row padding; the writers
// turn them into the bottom-up padded rows of the files.
struct Picture {
    int width = 0;
    int height = 0;
    uint32_t key = 0;
    std::vector<uint8_t> bgr;

    Picture() = default;
    Picture(int w, int h, uint32_t keyValue)
        : width(w), height(h), key(keyValue), bgr(static_cast<size_t>(w) * h * 3, 0) {}

    Rgb At(int x, int y) const {
        const uint8_t* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
        return Rgb{p[2], p[1], p[0]};
    }
    void Set(int x, int y, Rgb c) {
        uint8_t* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    }
    bool IsKey(int x, int y) const { return KeyValue(At(x, y)) == key; }
};

}  // namespace assetgen
