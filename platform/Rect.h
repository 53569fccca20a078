#pragma once
#include <cstdint>

namespace platform {

// A rectangle in window-client pixels; right and bottom are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool IsEmpty() const { return left >= right || top >= bottom; }
    bool Contains(int32_t x, int32_t y) const { return left <= x && x < right && top <= y && y < bottom; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Intersection of two rectangles; false (and `out` unspecified) when they do not meet.
inline bool IntersectRect(const Rect& a, const Rect& b, Rect& out) {
    out.left = a.left > b.left ? a.left : b.left;
    out.top = a.top > b.top ? a.top : b.top;
    out.right = a.right < b.right ? a.right : b.right;
    out.bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    return !out.IsEmpty();
}

// A rectangle of logical pixels as the pixels of a picture `detail` times finer.
inline Rect Finer(const Rect& r, int32_t detail) {
    return {r.left * detail, r.top * detail, r.right * detail, r.bottom * detail};
}

}  // namespace platform
