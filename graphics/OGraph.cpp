#include "graphics/OGraph.h"

#include "graphics/GraphHost.h"
#include "graphics/OGraphNotify.h"
#include "graphics/LiveSet.h"

namespace {
int32_t Trunc(float v) {
    return static_cast<int32_t>(v);
}
}  // namespace

OGraph::OGraph() {
    live_set::Insert(this);
}

// The live set forgets the object only after every derived destructor has run.
OGraph::~OGraph() {
    live_set::Erase(this);
}

void OGraph::Reset() {}

void OGraph::SetKeep(bool keep) {
    keep_ = keep;
}

void OGraph::SetParent(OGraph* parent) {
    if (parent == parent_) return;
    if (IsLive(parent_) && !parent_->IsBeingDestroyed()) parent_->DetachChild(this);
    parent_ = IsLive(parent) ? parent : nullptr;
    if (parent_) {
        SetAbsolute(parent_->absX_ + localX_, parent_->absY_ + localY_, parent_->absDepth_ + localDepth_);
    } else {
        SetAbsolute(localX_, localY_, localDepth_);
    }
    Align();
}

bool OGraph::WindowAlive() const {
    return GraphHost::Exists(window_);
}

void OGraph::AttachToWindow(GraphHost* window) {
    if (window_ != window && WindowAlive() && !window_->HostStopping()) window_->RemoveGraph(this);
    window_ = window;
    float x = 0, y = 0, depth = 0;
    for (const OGraph* g = this; g; g = IsLive(g->parent_) ? g->parent_ : nullptr) {
        x += g->localX_;
        y += g->localY_;
        depth += g->localDepth_;
    }
    SetAbsolute(x, y, depth);
    Align();
    if (window_ && visible_) {
        bool handled = false;
        NotifyChange(this, handled, kNotifyShown, nullptr);
    }
}

OGraph* OGraph::Clone() {
    return nullptr;
}

void OGraph::SaveState() {
    savedAbsX_ = absX_;
    savedAbsY_ = absY_;
    savedAbsDepth_ = absDepth_;
    savedLocalX_ = localX_;
    savedLocalY_ = localY_;
    savedLocalDepth_ = localDepth_;
    savedWidth_ = width_;
    savedHeight_ = height_;
    savedDepthExtent_ = depthExtent_;
}

void OGraph::RestoreState() {
    absX_ = savedAbsX_;
    absY_ = savedAbsY_;
    absDepth_ = savedAbsDepth_;
    localX_ = savedLocalX_;
    localY_ = savedLocalY_;
    localDepth_ = savedLocalDepth_;
    width_ = savedWidth_;
    height_ = savedHeight_;
    depthExtent_ = savedDepthExtent_;
}

void OGraph::MoveBy(float dx, float dy, float ddepth) {
    SetPosition(localX_ + dx, localY_ + dy, localDepth_ + ddepth);
}

void OGraph::SetPosition(float x, float y, float depth) {
    SaveState();
    float dx = x - localX_, dy = y - localY_, dd = depth - localDepth_;
    SetLocal(x, y, depth);
    SetAbsolute(absX_ + dx, absY_ + dy, absDepth_ + dd);
}

void OGraph::SetSize(float width, float height, float depthExtent) {
    SaveState();
    width_ = width;
    height_ = height;
    depthExtent_ = depthExtent;
    Align();
}

void OGraph::Offset(float dx, float dy, float ddepth) {
    SaveState();
    SetAbsolute(absX_ + dx, absY_ + dy, absDepth_ + ddepth);
}

bool OGraph::Load(const std::string&) {
    return false;
}
bool OGraph::LoadFromStream(std::istream&, uint32_t) {
    return false;
}

// The velocity is per step. A horizontal velocity alone waits for a first recorded step time, so an
// object does not jump on the step that first sees it.
void OGraph::Step(uint32_t timeMs) {
    if (velY_ != 0.0f || velDepth_ != 0.0f || (velX_ != 0.0f && lastStepTime_ != 0))
        MoveBy(velX_, velY_, velDepth_);
    lastStepTime_ = timeMs;
}

void OGraph::Draw(const ORect* rect) {
    ORect clamped;
    if (rect) IntersectRect(*rect, Bounds(), clamped);
}

void OGraph::SetVisible(bool visible) {
    visible_ = visible;
}

void OGraph::SetTransparency(uint32_t transparency) {
    transparency_ = transparency;
}

void OGraph::NotifyChange(OGraph* drawable, bool& handled, uint8_t kind, const ORect* rect) {
    if (!drawable) return;
    ORect area = Bounds();
    if (rect) {
        ORect clamped;
        if (!IntersectRect(*rect, area, clamped)) return;
        area = clamped;
    }
    if (IsLive(parent_)) {
        parent_->NotifyChange(drawable, handled, kind, &area);
    } else if (window_) {
        window_->OnGraphChanged(this, drawable, handled, kind, &area);
    } else {
        handled = true;
    }
}

void OGraph::DetachChild(OGraph*) {}

bool OGraph::GetPixels(PixelSource&) const {
    return false;
}

bool OGraph::GetFinePixels(int32_t, PixelSource&) const {
    return false;
}

bool OGraph::IsOpaqueOver(const ORect&, int32_t) const {
    return false;
}

void OGraph::Destroy() {
    if (keep_ || copyCount_ > 0) {
        if (IsLive(parent_) && parent_->IsBeingDestroyed()) {
            SetVisible(false);
            parent_ = nullptr;
            window_ = nullptr;
        }
        return;
    }
    stateFlags_ |= kBeingDestroyed;
    SetVisible(false);
    if (IsLive(parent_) && !parent_->IsBeingDestroyed()) parent_->DetachChild(this);
    if (WindowAlive() && !window_->HostStopping()) window_->RemoveGraph(this);
    Reset();
    if (IsLive(template_)) {
        template_->copyCount_ -= 1;
        template_->Destroy();
    }
    delete this;
}

bool OGraph::CopyFrom(OGraph* source) {
    Reset();
    if (!IsLive(source) || copyCount_ > 0) return false;
    OGraph* t = IsLive(source->template_) ? source->template_ : source;
    template_ = t;
    t->copyCount_ += 1;
    SetPosition(t->localX_, t->localY_, t->localDepth_);
    SetSize(t->width_, t->height_, t->depthExtent_);
    SaveState();
    SetVisible(t->visible_);
    colourKey_ = t->colourKey_;
    transparency_ = t->transparency_;
    pictureReady_ = t->pictureReady_;
    commands_ = source->commands_;
    alignFlags_ = source->alignFlags_;
    return true;
}

namespace {
// Bits `low` and `high` of the flags: low alone puts the object at the start, high alone against
// the far edge, both centre it.
bool AlignAxis(unsigned flags, unsigned low, unsigned high, float parentSize, float size, float& pos) {
    bool a = flags & low, b = flags & high;
    if (a && b)
        pos = (parentSize - size) * 0.5f;
    else if (a)
        pos = 0.0f;
    else if (b)
        pos = parentSize - size;
    else
        return false;
    return true;
}
}  // namespace

void OGraph::Align() {
    if (alignFlags_ == 0 || width_ == 0.0f || height_ == 0.0f || !IsLive(parent_)) return;
    float x = localX_, y = localY_;
    AlignAxis(alignFlags_, 1, 2, parent_->width_, width_, x);
    AlignAxis(alignFlags_, 4, 8, parent_->height_, height_, y);
    if (x != localX_ || y != localY_) SetPosition(x, y, localDepth_);
}

ORect OGraph::Bounds() const {
    return {Trunc(absX_), Trunc(absY_), Trunc(absX_ + width_), Trunc(absY_ + height_)};
}

void OGraph::SetNaturalSize(float width, float height) {
    naturalWidth_ = width;
    naturalHeight_ = height;
}

void OGraph::SetVelocity(float vx, float vy, float vdepth) {
    velX_ = vx;
    velY_ = vy;
    velDepth_ = vdepth;
}

void OGraph::SetAbsolute(float x, float y, float depth) {
    absX_ = x;
    absY_ = y;
    absDepth_ = depth;
}

void OGraph::SetLocal(float x, float y, float depth) {
    localX_ = x;
    localY_ = y;
    localDepth_ = depth;
}
