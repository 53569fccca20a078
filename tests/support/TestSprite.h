#pragma once
// A small drawable that owns 24-bit pixels and reports its area as a bitmap does (hide, move,
// show), so the scene and the compositor can be tested before the real bitmap class exists.
#include <vector>

#include "engine/OWindow.h"
#include "graphics/LiveSet.h"
#include "graphics/OGraph.h"
#include "graphics/OGraphNotify.h"
#include "graphics/OpaqueRuns.h"
#include "graphics/OffscreenPicture.h"

class TestSprite : public OGraph {
  public:
    // A width x height picture filled with one colour (blue, green, red), bottom-up rows.
    TestSprite(int width, int height, uint8_t b, uint8_t g, uint8_t r) : w_(width), h_(height) {
        stride_ = OffscreenPicture::StrideFor(width);
        pixels_.assign(static_cast<size_t>(stride_) * static_cast<size_t>(height) + 4, 0);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) SetPixel(x, y, b, g, r);
        }
        SetSize(static_cast<float>(width), static_cast<float>(height), 0);
        SetNaturalSize(static_cast<float>(width), static_cast<float>(height));
    }

    // Row y counted from the top, as the window sees it.
    void SetPixel(int x, int y, uint8_t b, uint8_t g, uint8_t r) {
        uint8_t* p = pixels_.data() + static_cast<size_t>(h_ - 1 - y) * stride_ + static_cast<size_t>(x) * 3;
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    void UseRuns() {
        runs_.Build(pixels_.data(), w_, h_, stride_, 24, ColourKey());
        useRuns_ = true;
    }

    void SetVisible(bool visible) override {
        if (visible == IsVisible()) return;
        SetVisibleFlag(visible);
        Report(visible ? kNotifyShown : kNotifyUncovered);
    }
    void SetPosition(float x, float y, float depth) override {
        ORect before = Bounds();
        bool moved = static_cast<int>(X() + x - LocalX()) != before.left ||
                     static_cast<int>(Y() + y - LocalY()) != before.top ||
                     static_cast<int>(Depth() + depth - LocalDepth()) != static_cast<int>(Depth());
        if (IsVisible() && moved) {
            SetVisible(false);
            OGraph::SetPosition(x, y, depth);
            SetVisible(true);
        } else {
            OGraph::SetPosition(x, y, depth);
        }
    }
    void SetTransparency(uint32_t t) override {
        SetTransparencyValue(t);
        if (IsVisible()) Report(kNotifyShown);
    }
    void Draw(const ORect* rect) override {
        ORect area = Bounds();
        if (rect && !IntersectRect(*rect, Bounds(), area)) return;
        drawn.push_back(area);
        if (GraphHost* w = Window()) {
            int sx = area.left - static_cast<int>(X()), sy = area.top - static_cast<int>(Y());
            int aw = area.right - area.left, ah = area.bottom - area.top;
            w->DrawBitmap(this, area.left, area.top, aw, ah, sx, sy, aw, ah);
        }
    }
    bool GetPixels(PixelSource& out) const override {
        out.bits = pixels_.data();
        out.width = w_;
        out.height = h_;
        out.stride = stride_;
        out.bottomUp = true;
        out.bitsPerPixel = 24;
        out.colourKey = ColourKey();
        out.runs = useRuns_ ? &runs_ : nullptr;
        return true;
    }
    OGraph* Clone() override {
        auto* copy = new TestSprite(w_, h_, 0, 0, 0);
        copy->CopyFrom(this);
        return copy;
    }

    std::vector<ORect> drawn;

  private:
    void Report(uint8_t kind) {
        bool handled = false;
        NotifyChange(this, handled, kind, nullptr);
    }

    int w_, h_, stride_;
    std::vector<uint8_t> pixels_;
    OpaqueRuns runs_;
    bool useRuns_ = false;
};

// A container that owns its children, as a clip or group does.
class TestGroup : public OGraph {
  public:
    void AddChild(OGraph* child) {
        children.push_back(child);
        child->SetParent(this);
    }
    void Reset() override {
        std::vector<OGraph*> doomed;
        doomed.swap(children);
        for (OGraph* c : doomed) {
            if (IsLive(c)) c->Destroy();
        }
    }
    void DetachChild(OGraph* child) override { std::erase(children, child); }
    GraphKind Kind() const override { return GraphKind::Clip; }
    int FrameRate() const override { return rate; }

    std::vector<OGraph*> children;
    int rate = 0;
};
