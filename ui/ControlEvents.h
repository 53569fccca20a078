#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

// The state bits of a control and the events their changes raise. Events are what a window's
// OnCommand receives (source, event); every window acts on Click alone.
struct ControlState {
    enum : uint32_t {
        Hover = 1,     // the mouse is over the control
        Pressed = 2,   // the left button went down on it
        KeyDown = 4,   // Enter went down while it had the focus
        Focused = 8,   // it has the keyboard focus
        Captured = 16  // it has the mouse capture
    };
};

struct ControlEvent {
    enum : int {
        MouseEnter = 1,
        MouseLeave = 2,
        FocusIn = 4,
        FocusOut = 8,
        CaptureIn = 16,
        CaptureOut = 32,
        ButtonDown = 64,
        ButtonUp = 128,
        KeyPress = 256,
        KeyRelease = 512,
        Click = 1024
    };
};

// The events of one state change, in the order they are raised.
struct ControlEventList {
    std::array<int, 8> codes{};
    size_t count = 0;

    const int* begin() const { return codes.data(); }
    const int* end() const { return codes.data() + count; }
};

// What going from `before` to `after` raises: hover, then pressed (ButtonUp is followed by Click
// while the mouse is still over the control), then the Enter key (KeyRelease is followed by Click
// while the control has the focus), then focus, then capture. A release outside the control
// therefore gives ButtonUp and no Click.
ControlEventList ControlEventsFor(uint32_t before, uint32_t after);
