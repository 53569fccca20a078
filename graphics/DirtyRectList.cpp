#include "graphics/DirtyRectList.h"

namespace {
bool CornerInside(const ORect& a, const ORect& b) {
    return b.Contains(a.left, a.top) || b.Contains(a.right - 1, a.bottom - 1) ||
           b.Contains(a.right - 1, a.top) || b.Contains(a.left, a.bottom - 1);
}
}  // namespace

void DirtyRectList::Subtract(const ORect& p, const ORect& e, std::vector<ORect>& out) {
    if (!CornerInside(p, e) && !CornerInside(e, p)) {
        out.push_back(p);
        return;
    }
    ORect w = p;
    if (w.top < e.top) {
        out.push_back({w.left, w.top, w.right, e.top});
        w.top = e.top;
    }
    if (e.right < w.right) {
        out.push_back({e.right, w.top, w.right, w.bottom});
        w.right = e.right;
    }
    if (e.bottom < w.bottom) {
        out.push_back({w.left, e.bottom, w.right, w.bottom});
        w.bottom = e.bottom;
    }
    if (w.left < e.left) out.push_back({w.left, w.top, e.left, w.bottom});
}

void DirtyRectList::Add(const ORect& rect) {
    if (rect.IsEmpty()) return;
    if (rects_.empty()) {
        rects_.push_back(rect);
        return;
    }
    std::vector<ORect> pieces{rect}, next;
    for (const ORect& e : rects_) {
        next.clear();
        for (const ORect& p : pieces) Subtract(p, e, next);
        pieces.swap(next);
        if (pieces.empty()) return;
    }
    for (const ORect& p : pieces) {
        if (!p.IsEmpty()) rects_.push_back(p);
    }
}
