#pragma once
#include <array>

// Which frames of a button's clip make its three looks (normal, highlighted, pressed).
namespace button_looks {

// Frames [first, end) of the clip.
struct FrameRange {
    int first = 0;
    int end = 0;
    bool Empty() const { return end <= first; }
};

enum Look { Normal = 0, Highlight = 1, PressedLook = 2 };

// The looks of a clip of `frameCount` frames whose looks start at the given frames. A start at or past
// the last frame becomes the last frame, as does every start when the clip has too few frames for it
// (so one frame serves all three looks, and of two frames the second is both highlight and pressed).
// A negative start is taken as 0. Each look runs up to the start of the next one, the pressed look to
// the end; a look whose run is empty gets its start frame alone. No frames: three empty ranges.
std::array<FrameRange, 3> Ranges(int frameCount, int normal, int highlight, int pressed);

}  // namespace button_looks
