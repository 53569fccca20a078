#include "ui/ButtonLooks.h"

#include <algorithm>

namespace button_looks {
namespace {
int StartFrame(int frameCount, int needed, int start) {
    if (frameCount < needed || start >= frameCount) return frameCount - 1;
    return std::max(start, 0);
}
FrameRange Run(int start, int end) {
    if (end <= start) return {start, start + 1};
    return {start, end};
}
}  // namespace

std::array<FrameRange, 3> Ranges(int frameCount, int normal, int highlight, int pressed) {
    if (frameCount <= 0) return {};
    const int p = StartFrame(frameCount, 3, pressed);
    const int h = StartFrame(frameCount, 2, highlight);
    const int n = StartFrame(frameCount, 1, normal);
    return {Run(n, h), Run(h, p), Run(p, frameCount)};
}

}  // namespace button_looks
