#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/NativeWindow.h"
#include "platform/Rect.h"

namespace platform {

// The game draws one fixed-size picture; on a large screen the platform shows it at a whole-number
// scale, so every pixel stays a sharp square (no smoothing, ever).

// "auto" (or nothing) is 0, a whole number from 1 to kMaxScale is itself; anything else is nullopt,
// so the caller can say the value is wrong instead of guessing.
constexpr int32_t kMaxScale = 8;
std::optional<int32_t> ParseScale(const std::string& text);

// The largest scale at which a picture of logical size fits into the available area, at least 1.
int32_t FitScale(int32_t availableWidth, int32_t availableHeight, int32_t logicalWidth,
                 int32_t logicalHeight);

// Where the logical picture lies in a window: scale and the offset of its top-left pixel (non-zero
// in fullscreen, where the picture is centred).
struct Placement {
    int32_t scale = 1;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    // A window pixel to a logical one; rounds towards minus infinity, so a point left of or above
    // the picture stays outside it.
    int32_t ToLogicalX(int32_t x) const { return FloorDiv(x - offsetX, scale); }
    int32_t ToLogicalY(int32_t y) const { return FloorDiv(y - offsetY, scale); }
    static int32_t FloorDiv(int32_t a, int32_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
};

// The picture centred in a window of the given size at the largest scale that fits.
Placement CentredPlacement(int32_t windowWidth, int32_t windowHeight, int32_t logicalWidth,
                           int32_t logicalHeight);

// The same for a picture with `detail` pixels per logical pixel (a picture composed from art drawn
// at that scale): its pixels are enlarged by the whole number that brings it nearest the fitting
// scale from below, at least 1, and the enlarged picture is centred. With a detail of 1 it is the
// placement above.
Placement DetailPlacement(int32_t windowWidth, int32_t windowHeight, int32_t logicalWidth,
                          int32_t logicalHeight, int32_t detail);

// The scale of the art to compose with: the largest of the drawn scales for which `available` says
// a set is installed that divides both the window's scale and the fullscreen one, so either way the
// composed picture is shown at a whole number of screen pixels per pixel; 1 (the game's own
// pictures) when none does.
template <typename Available>
int32_t ChooseArtScale(int32_t windowScale, int32_t fullscreenScale, int32_t largestDrawn, Available available) {
    for (int32_t scale = largestDrawn; scale > 1; --scale) {
        if (windowScale % scale == 0 && fullscreenScale % scale == 0 && available(scale)) return scale;
    }
    return 1;
}

// Copies one rectangle of the picture (24-bit blue-green-red, rows bottom-up) into a top-down buffer
// of 32-bit blue-green-red-x pixels, each picture pixel becoming a scale x scale square at the
// placement. The rectangle must lie inside the picture and its image inside the buffer.
void ScaleRectToBgrx(const PictureView& picture, const Rect& rect, const Placement& at, uint8_t* dst,
                     int32_t dstPitch, uint8_t fourth);

}  // namespace platform
