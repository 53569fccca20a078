#include "ui/OGroup.h"

#include <algorithm>

#include "engine/OWindow.h"
#include "graphics/LiveSet.h"
#include "graphics/OGraphNotify.h"

void OGroup::AttachToWindow(GraphHost* window) {
    if (IsBeingDestroyed() || window == Window()) return;
    OGraph::AttachToWindow(window);
    for (OGraph* child : Children()) {
        if (IsLive(child)) child->AttachToWindow(window);
    }
}

OGraph* OGroup::Clone() {
    auto* copy = new OGroup();
    copy->CopyFrom(this);
    return copy;
}

// The children are stepped together at the group's rate; the group's own movement by its velocity
// runs on every step. Unsigned arithmetic, so the millisecond clock may wrap.
void OGroup::Step(uint32_t timeMs) {
    if (Children().empty()) return;
    const uint32_t rate = static_cast<uint32_t>(FrameRate());
    if ((timeMs - lastAdvanceTime_) * rate / 1000u != 0) {
        lastAdvanceTime_ = timeMs;
        // A child's step may destroy it (a one-shot clip), which takes it out of the list.
        const std::vector<OGraph*> children = Children();
        for (OGraph* child : children) {
            if (IsLive(child)) child->Step(timeMs);
        }
    }
    OGraph::Step(timeMs);
}

void OGroup::Draw(const ORect* rect) {
    for (OGraph* child : Children()) {
        if (!IsLive(child) || !child->IsVisible()) continue;
        if (rect) {
            const ORect area = *rect;
            child->Draw(&area);
        } else {
            child->Draw(nullptr);
        }
    }
}

void OGroup::SetVisible(bool visible) {
    if (visible == IsVisible()) return;
    // Showing: the flag goes first, so that the reports below pass the group's NotifyChange.
    if (visible) SetVisibleFlag(true);
    const uint8_t kind = visible ? kNotifyShown : kNotifyUncovered;
    for (OGraph* child : Children()) {
        if (!IsLive(child) || !child->IsVisible()) continue;
        ORect area = child->Bounds();
        bool handled = false;
        NotifyChange(child, handled, kind, &area);
    }
    SetVisibleFlag(visible);
}

void OGroup::GrowToCover(const OGraph* child) {
    const float width = std::max(Width(), child->LocalX() + child->Width());
    const float height = std::max(Height(), child->LocalY() + child->Height());
    const float depth = std::max(DepthExtent(), child->LocalDepth() + child->DepthExtent());
    if (width != Width() || height != Height() || depth != DepthExtent())
        OGraph::SetSize(width, height, depth);
}

void OGroup::AddChild(OGraph* child) {
    if (!IsLive(child)) return;
    GrowToCover(child);
    children_.push_back(child);
    if (child->Kind() != GraphKind::Graph && child->FrameRate() > FrameRate())
        SetFrameRate(child->FrameRate());
    child->SetParent(this);
    if (Window()) child->AttachToWindow(Window());
    frameCount_ = static_cast<int>(children_.size());
}
