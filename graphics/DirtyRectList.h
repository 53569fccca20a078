#pragma once
#include <vector>

#include "graphics/ORect.h"

// The rectangles of the picture that must be drawn again, kept free of overlap as far as a corner
// test detects it: a new rectangle is cut into the parts that lie outside each rectangle already
// listed (top, right, bottom, left strips, in that order).
class DirtyRectList {
  public:
    void Add(const ORect& rect);
    void Clear() { rects_.clear(); }
    bool Empty() const { return rects_.empty(); }
    const std::vector<ORect>& Rects() const { return rects_; }

    // What remains of P outside E, appended to `out`. Two rectangles overlap only when a corner of
    // one lies inside the other; rectangles that cross without that both stay whole (their common
    // part is then drawn twice, which gives the same picture).
    static void Subtract(const ORect& p, const ORect& e, std::vector<ORect>& out);

  private:
    std::vector<ORect> rects_;
};
