#pragma once
#include <cstdint>

class OGraph;

// What a window asks of a control when it routes input (OControl implements it). Coordinates are
// relative to the control's absolute position. Called on the main thread with the window locked.
class ControlInput {
  public:
    virtual bool HitTest(int x, int y) = 0;
    virtual void OnMouseMove(int x, int y) = 0;
    virtual void OnPress(int code, int x, int y) = 0;
    virtual void OnRelease(int code, int x, int y) = 0;
    virtual void OnChar(uint8_t character) = 0;
    virtual void OnCaptureChanged(OGraph* newCapture) = 0;
    virtual void OnFocusChanged(OGraph* newFocus) = 0;
    virtual bool IsFocusable() const = 0;

  protected:
    ~ControlInput() = default;
};
