#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "graphics/ClipFileReader.h"
#include "graphics/OGraph.h"

class OBitmap;

// An animated clip: a list of child drawables (the frames, normally bitmaps) of which one is shown at
// a time, advancing at the clip's own frame rate. Each frame may carry commands run once it has been
// shown: 1 hold, 2 destroy the clip, 3 n play on from frame n, 4 n hold at frame n.
//
// OGroup derives from it and reuses the child list, the position propagation and the visibility
// rules; that is why the fields are protected and every operation is virtual.
//
// Ownership: the clip owns its children and destroys them in Reset. Threads as for every OGraph:
// loaded before it is attached, or under its window's lock.
class OClip : public OGraph {
  public:
    OClip() = default;

    void Reset() override;
    void SetKeep(bool keep) override;
    void SetParent(OGraph* parent) override;
    void AttachToWindow(GraphHost* window) override;
    OGraph* Clone() override;
    void SetPosition(float x, float y, float depth) override;
    void Offset(float dx, float dy, float ddepth) override;
    // A clip file by the game's name for it ("CLP\\frog0.clp" is found beside the program). The whole
    // file is read (up to the loader's size cap) and checked before any frame is made.
    bool Load(const std::string& fileName) override;
    // A clip file read from the stream's current position to its end; `byteCount` is not used.
    bool LoadFromStream(std::istream& stream, uint32_t byteCount) override;
    void Step(uint32_t timeMs) override;
    void Draw(const ORect* rect) override;
    void SetVisible(bool visible) override;
    void SetTransparency(uint32_t transparency) override;
    void NotifyChange(OGraph* drawable, bool& handled, uint8_t kind, const ORect* rect) override;
    virtual void AddChild(OGraph* child);
    virtual void RemoveChild(OGraph* child);

    GraphKind Kind() const override { return GraphKind::Clip; }
    int FrameRate() const override { return frameRate_; }
    void DetachChild(OGraph* child) override { RemoveChild(child); }

    // A whole clip file held in memory.
    bool LoadFromBytes(std::span<const uint8_t> file);
    // Makes this clip a copy of `source`: OGraph::CopyFrom, then a clone of every frame of the
    // template (sharing their pixels), its frame rate and its current frame.
    bool CopyFrom(OGraph* source);

    // Stops advancing and, if the index is a frame, makes it the next one to show.
    void HoldAt(int index);
    // Goes on advancing and, if the index is a frame, makes it the next one to show.
    void PlayFrom(int index);
    // Moves on from frame `index` (just shown) and runs its commands. Returns false when a command
    // destroyed the clip: the object is gone and must not be touched.
    bool Advance(int index);

    int FrameCount() const { return frameCount_; }
    int CurrentIndex() const { return currentIndex_; }
    int ShownIndex() const { return shownIndex_; }
    bool IsHolding() const { return hold_; }
    void SetFrameRate(int rate) { frameRate_ = rate < 0 ? 0 : rate; }
    const std::vector<OGraph*>& Children() const { return children_; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

  protected:
    ~OClip() override = default;

    // The frame that stands for the clip on screen: the shown one, else the current one; none when
    // neither names a child.
    OGraph* DisplayedFrame() const;
    OGraph* ChildAt(int index) const;
    // Moves every child by the same offsets (a parent moves its children this way).
    void OffsetChildren(float dx, float dy, float ddepth);

    std::vector<OGraph*> children_;
    int currentIndex_ = 0;
    int shownIndex_ = -1;
    int frameCount_ = 0;
    bool hold_ = false;
    std::string name_;
    int frameRate_ = 0;
    uint32_t lastAdvanceTime_ = 0;  // 0: none yet

  private:
    // A clip file of the art drawn for a larger screen, read beside the game's own.
    struct FineArt {
        std::string name;
        graphics::ClipFile file;
        int32_t detail = 0;  // 0 when there is none
    };
    void ReadFineArt(const std::string& fileName, FineArt& fine);
    static void AttachFine(const std::vector<OBitmap*>& pictures, FineArt& fine);
    bool LoadBytes(std::span<const uint8_t> file, const std::string& name, FineArt* fine = nullptr);
    bool Build(graphics::ClipFile&& file, FineArt* fine);
    bool ChangesBounds(float dx, float dy, float ddepth) const;
};
