#pragma once
#include <cstdint>
#include <string>
#include <vector>

class OClip;
class GraphHost;

// A creature or effect made of several clips, each loaded from its own file, of which one (the
// current clip) is shown at a time; all of them share one position. The pond's creatures derive
// from it.
//
// Ownership: the set owns its clips but releases them only in Destroy (they are drawables: a window
// they were added to destroys them at its Stop, so the set's destructor leaves them alone). Used
// under the lock of the window the clips are in, or before they are added to one.
class OClipBucks {
  public:
    OClipBucks() = default;
    OClipBucks(const OClipBucks&) = delete;
    OClipBucks& operator=(const OClipBucks&) = delete;
    virtual ~OClipBucks() = default;

    // Loads `count` clips from base + i + ".clp" (base "CLP\\1-fly", count 2: 1-fly0.clp and
    // 1-fly1.clp). All or nothing: when one fails, every clip loaded by this call is destroyed (keep
    // flag cleared first) and the set is as before. On success the first clip is selected.
    bool LoadSet(int count, const std::string& base);
    // Appends a clone of every clip of `other` (sharing their pixels) and copies its selected index,
    // depth and frame rate.
    void CopyFrom(const OClipBucks& other);

    // Selects clip `index` and shows it alone.
    void SetCurrent(int index);
    // Every clip hidden and fully transparent.
    void HideAll();
    // HideAll, then the current clip visible and opaque.
    void ShowCurrent();
    // The current clip is visible and not fully transparent.
    bool IsShown() const;

    // Position, depth, velocity and timing, on every clip.
    void PlaceAt(float x, float y);
    void SetDepth(int depth);
    void SetVelocity(float vx, float vy);
    void SetRate(int rate);
    void SetClipRates(int rate);
    void SetTransparency(uint32_t transparency);
    void SetKeep(bool keep);
    void AddTo(GraphHost* window);
    // Destroys every clip and empties the set.
    void Destroy();

    // Frames of the current clip: hold at / play on from frame n (out of range: ignored).
    void SetFrame(int index);
    void PlayFrom(int index);
    int Frame() const;       // the current clip's frame index
    int FrameCount() const;  // the first clip's number of frames

    int X() const;  // the current clip's position, truncated
    int Y() const;
    int Width() const;  // the first clip's size, truncated
    int Height() const;

    OClip* Current() const;
    int CurrentIndex() const { return current_; }
    const std::vector<OClip*>& Clips() const { return clips_; }
    int CellX() const { return cellX_; }
    int CellY() const { return cellY_; }
    void SetCellFields(int x, int y) {
        cellX_ = x;
        cellY_ = y;
    }
    int Depth() const { return depth_; }
    int Rate() const { return frameRate_; }

  protected:
    std::vector<OClip*> clips_;
    int current_ = 0;
    int cellX_ = -1;
    int cellY_ = -1;
    int depth_ = 0;
    int frameRate_ = 0;
};
