#pragma once
#include <cstdint>

#include "platform/NativeWindow.h"
#include "platform/Rect.h"

namespace platform {

// Copies one rectangle of the engine's picture (24-bit blue-green-red, rows bottom-up) into a
// top-down buffer of 32-bit pixels whose bytes in memory are blue, green, red, `fourth` (the X
// server's usual 0x00RRGGBB and 0xAARRGGBB). `dst` is the buffer's pixel (0, 0) of the window, so
// the rectangle lands at the same place. This is the present's one copy of each pixel, which is why
// it is written to run at the speed of a plain copy. The rectangle must lie inside the picture.
void CopyRectToBgrx(const PictureView& picture, const Rect& rect, uint8_t* dst, int32_t dstPitch,
                    uint8_t fourth);

}  // namespace platform
