#pragma once
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "graphics/ORect.h"
#include "graphics/PixelSource.h"

class GraphHost;
class ControlInput;

// What kind of drawable an object is, for the window's lists: controls go to the control list,
// clips (and everything derived from them) raise the window's frame rate.
enum class GraphKind : uint8_t { Graph, Clip, Control };

// Base of every drawable. A drawable does not paint by itself: it reports the areas it covers or
// uncovers (NotifyChange) and its window later asks it to Draw into a rectangle.
//
// Ownership: created with new, released only through Destroy (the destructor is protected), which
// honours the keep flag and the copies that share a template's pixels. Used only under the lock of
// the window it is attached to (or before it is attached anywhere).
class OGraph {
  public:
    OGraph();
    OGraph(const OGraph&) = delete;
    OGraph& operator=(const OGraph&) = delete;

    // Virtual operations, in slot order (slot 0 is the destructor below; slot 14 is not used).
    virtual void Reset();
    virtual void SetKeep(bool keep);
    virtual void SetParent(OGraph* parent);
    virtual void AttachToWindow(GraphHost* window);
    virtual OGraph* Clone();
    virtual void SaveState();
    virtual void RestoreState();
    virtual void MoveBy(float dx, float dy, float ddepth);
    virtual void SetPosition(float x, float y, float depth);
    virtual void SetSize(float width, float height, float depthExtent);
    virtual void Offset(float dx, float dy, float ddepth);
    virtual bool Load(const std::string& fileName);
    virtual bool LoadFromStream(std::istream& stream, uint32_t byteCount);
    virtual void Step(uint32_t timeMs);
    virtual void Draw(const ORect* rect);
    virtual void SetVisible(bool visible);
    virtual void SetTransparency(uint32_t transparency);
    virtual void NotifyChange(OGraph* drawable, bool& handled, uint8_t kind, const ORect* rect);

    // Engine hooks, after the drawable's own operations: what the window's lists need to know.
    virtual GraphKind Kind() const { return GraphKind::Graph; }
    // Frames per second of a clip or control; 0 for plain drawables.
    virtual int FrameRate() const { return 0; }
    // The input side of a control; none for other drawables.
    virtual ControlInput* AsControl() { return nullptr; }
    // A container takes a child out of its list (a clip's RemoveChild); the base has no children.
    virtual void DetachChild(OGraph* child);
    // The object's own pixels for DrawBitmap; false when it has none.
    virtual bool GetPixels(PixelSource& out) const;
    // Its pixels as drawn for a picture `detail` times finer each way, for a window composed at that
    // detail; false when it has none, and the window enlarges GetPixels' instead.
    virtual bool GetFinePixels(int32_t detail, PixelSource& out) const;
    // True when Draw(area) would set every pixel of `area` without looking at what lies below it (an
    // opaque picture with no key pixel there), so the window need neither clear nor draw anything
    // behind it, in a window composed at `detail` (1: the logical picture). The base draws nothing:
    // false.
    virtual bool IsOpaqueOver(const ORect& area, int32_t detail) const;

    // Disposes of the object (see the class comment). The object may be gone when this returns.
    void Destroy();
    // Makes this object a copy of `source`, sharing its template. False when source is none or
    // this object has live copies itself.
    bool CopyFrom(OGraph* source);
    // Re-places the object inside its parent by the alignment flags.
    void Align();

    // The bounds: absolute position to position + size, each truncated towards zero.
    ORect Bounds() const;

    bool Keep() const { return keep_; }
    // The window that holds it, as far as a drawable knows windows.
    GraphHost* Window() const { return window_; }
    OGraph* Parent() const { return parent_; }
    uint32_t LastStepTime() const { return lastStepTime_; }
    int OrderIndex() const { return orderIndex_; }
    void SetOrderIndex(int index) { orderIndex_ = index; }
    int CopyCount() const { return copyCount_; }
    const std::vector<int>& Commands() const { return commands_; }
    std::vector<int>& Commands() { return commands_; }
    bool IsBeingDestroyed() const { return (stateFlags_ & kBeingDestroyed) != 0; }
    uint8_t AlignFlags() const { return alignFlags_; }
    void SetAlignFlags(uint8_t flags) { alignFlags_ = flags; }
    float X() const { return absX_; }
    float Y() const { return absY_; }
    float Depth() const { return absDepth_; }
    float LocalX() const { return localX_; }
    float LocalY() const { return localY_; }
    float LocalDepth() const { return localDepth_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    float DepthExtent() const { return depthExtent_; }
    float NaturalWidth() const { return naturalWidth_; }
    float NaturalHeight() const { return naturalHeight_; }
    void SetNaturalSize(float width, float height);
    float VelocityX() const { return velX_; }
    float VelocityY() const { return velY_; }
    float VelocityDepth() const { return velDepth_; }
    void SetVelocity(float vx, float vy, float vdepth);
    bool IsVisible() const { return visible_; }
    uint32_t ColourKey() const { return colourKey_; }
    void SetColourKey(uint32_t key) { colourKey_ = key; }
    uint32_t Transparency() const { return transparency_; }
    uint8_t PictureReady() const { return pictureReady_; }
    void SetPictureReady(uint8_t ready) { pictureReady_ = ready; }
    OGraph* Template() const { return template_; }

    // The window drops a kept object it no longer holds (its Stop), so the object never reaches a
    // window that has been torn down.
    void ForgetWindow() { window_ = nullptr; }

  protected:
    virtual ~OGraph();

    void SetVisibleFlag(bool visible) { visible_ = visible; }
    void SetTransparencyValue(uint32_t t) { transparency_ = t; }
    void SetTemplate(OGraph* t) { template_ = t; }
    void AdjustCopyCount(int delta) { copyCount_ += delta; }
    void SetAbsolute(float x, float y, float depth);
    void SetLocal(float x, float y, float depth);
    void SetParentPointer(OGraph* parent) { parent_ = parent; }
    void SetWindowPointer(GraphHost* window) { window_ = window; }

  private:
    static constexpr uint32_t kBeingDestroyed = 2;
    bool WindowAlive() const;

    bool keep_ = false;
    GraphHost* window_ = nullptr;
    OGraph* parent_ = nullptr;
    uint32_t lastStepTime_ = 0;
    int orderIndex_ = 0;
    int copyCount_ = 0;
    std::vector<int> commands_;
    uint32_t stateFlags_ = 0;
    uint8_t alignFlags_ = 0;
    float absX_ = 0, absY_ = 0, absDepth_ = 0;
    float localX_ = 0, localY_ = 0, localDepth_ = 0;
    float width_ = 0, height_ = 0, depthExtent_ = 0;
    float savedAbsX_ = 0, savedAbsY_ = 0, savedAbsDepth_ = 0;
    float savedLocalX_ = 0, savedLocalY_ = 0, savedLocalDepth_ = 0;
    float savedWidth_ = 0, savedHeight_ = 0, savedDepthExtent_ = 0;
    float naturalWidth_ = 0, naturalHeight_ = 0;
    float velX_ = 0, velY_ = 0, velDepth_ = 0;
    bool visible_ = true;
    uint32_t colourKey_ = 0;
    uint32_t transparency_ = 0;
    uint8_t pictureReady_ = 0;
    OGraph* template_ = nullptr;
};
