#pragma once
#include <cstdint>

#include "graphics/OClip.h"

// Drawables shown, moved and animated as one. The clip's frame list is the list of children, drawn
// all at once in the order they were added; the clip's rate is the rate at which the children are
// stepped (raised to the fastest clip among them). The size only grows, to cover every child.
//
// Owns its children: they are destroyed with the group or by Reset. Ownership and threads as for
// every OGraph (Destroy, the window's lock).
class OGroup : public OClip {
  public:
    OGroup() = default;

    void AttachToWindow(GraphHost* window) override;
    OGraph* Clone() override;
    void Step(uint32_t timeMs) override;
    void Draw(const ORect* rect) override;
    void SetVisible(bool visible) override;
    void AddChild(OGraph* child) override;

  protected:
    ~OGroup() override = default;

    // Widens the group to cover the child's local position plus its size; never shrinks it.
    void GrowToCover(const OGraph* child);
};
