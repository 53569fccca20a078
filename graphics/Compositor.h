#pragma once
#include <cstddef>
#include <set>
#include <vector>

#include "graphics/DirtyRectList.h"
#include "graphics/OGraphNotify.h"

// The bookkeeping behind a window's Compose: the reports of one frame (pending list), what is
// visible where (scene set, one entry per drawable), and the dirty rectangles. It knows nothing of
// pixels beyond asking a drawable whether it hides an area; the window clears and draws the
// rectangles it hands out. Used under the window lock.
class Compositor {
  public:
    // Appends a report, unless its rectangle is empty or its kind is neither 0 nor 1.
    void Report(const OGraphNotify& record);

    // Reduces the pending reports to at most two per drawable, empties the pending list, applies
    // what was kept to the scene set and dirties its rectangles. False when there is nothing to draw.
    // A drawable on screen that ends the frame hidden leaves the scene; one that ends it elsewhere
    // (or looking different) has its entry replaced; both its old and new areas are redrawn.
    bool Prepare();
    // The scene in drawing order: greater depth first, then smaller order index; stable.
    std::vector<OGraphNotify> SortedScene() const;
    // Where drawing `dirty` may start in the sorted scene: the position of the front-most entry that
    // hides everything behind it there (its rectangle holds `dirty` and it is opaque over it), or
    // `sorted.size()` when none does and the area must first be cleared to the background. Starting
    // there gives the same pixels as clearing and drawing every entry: whatever the skipped ones would
    // draw is overwritten. The game's background picture covers the whole pond, so most areas start
    // at it and are neither cleared nor drawn twice.
    size_t FirstToDraw(const std::vector<OGraphNotify>& sorted, const ORect& dirty) const;
    // Off, FirstToDraw always asks for the clearing and every entry: the plain way, which tests and
    // benchmarks compare against.
    void SetSkipHidden(bool on) { skipHidden_ = on; }
    // The detail the window composes at, which decides whose pixels hide what (see
    // OGraph::IsOpaqueOver).
    void SetDetail(int32_t detail) { detail_ = detail; }

    // A drawable leaves the window: its reports go, its scene entry goes, and the areas it covered
    // are dirtied so the next composition draws them without it.
    void Forget(const OGraph* drawable);
    void ClearPending() { pending_.clear(); }
    void AddDirtyRect(const ORect& rect) { dirty_.Add(rect); }
    void ClearDirty() { dirty_.Clear(); }

    const std::vector<OGraphNotify>& Pending() const { return pending_; }
    const std::vector<ORect>& Dirty() const { return dirty_.Rects(); }
    size_t SceneSize() const { return scene_.size(); }
    bool InScene(const OGraph* drawable) const;

    // The reduction rule alone, against the scene as it stands: for each drawable not on screen,
    // its first and last report decide what is kept; one on screen keeps the uncovering of its
    // scene entry, then its last report if that shows it, so the screen ends up as the scene says.
    std::vector<OGraphNotify> Reduce(const std::vector<OGraphNotify>& pending) const;

  private:
    struct ByDrawable {
        using is_transparent = void;
        bool operator()(const OGraphNotify& a, const OGraphNotify& b) const {
            return a.drawable < b.drawable;
        }
        bool operator()(const OGraphNotify& a, const OGraph* b) const { return a.drawable < b; }
        bool operator()(const OGraph* a, const OGraphNotify& b) const { return a < b.drawable; }
    };

    std::vector<OGraphNotify> pending_;
    std::set<OGraphNotify, ByDrawable> scene_;
    DirtyRectList dirty_;
    bool skipHidden_ = true;
    int32_t detail_ = 1;
};
