#pragma once
#include <cstdint>

#include "graphics/ORect.h"

class OGraph;

// What a drawable needs of the window that holds it: to be added and taken out, to report a change of
// its look, and to have a bitmap drawn into the window's picture. The window implements it, one layer
// up; the drawables know nothing more of windows.
class GraphHost {
  public:
    virtual void AddGraph(OGraph* graph) = 0;
    virtual void RemoveGraph(OGraph* graph) = 0;
    virtual void OnGraphChanged(OGraph* owner, OGraph* drawable, bool& handled, uint8_t kind,
                                const ORect* rect) = 0;
    virtual void DrawBitmap(OGraph* graph, int x, int y, int w, int h, int sx, int sy, int sw, int sh) = 0;
    // True once the window has begun to close: it takes nothing more out of its lists.
    virtual bool HostStopping() const = 0;

    // True while `host` is a window that exists. Never looks at a host that has gone, so a drawable
    // may ask about the window it last knew from any thread.
    static bool Exists(const GraphHost* host);
    // The window layer's answer to Exists, given once before its first window holds anything.
    using ExistsCheck = bool (*)(const GraphHost* host);
    static void SetExistsCheck(ExistsCheck check);

  protected:
    ~GraphHost() = default;
};
