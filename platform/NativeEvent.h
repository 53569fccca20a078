#pragma once
#include <cstdint>

namespace platform {

// What the platform tells the engine about one of its native windows, always on the main thread.
// Keys carry the game's key codes (VirtualKeys.h), mouse buttons the codes 1 (left), 2 (right), 4 (middle).
enum class NativeEventType : uint8_t {
    MouseMove,        // x, y
    ButtonDown,       // code, x, y
    ButtonUp,         // code, x, y
    KeyDown,          // code (cursor position is asked from the window)
    KeyUp,            // code
    Char,             // code: one Windows-1252 byte
    Close,            // a close request (window manager, Alt+F4, OWindow::Close, teardown)
    Destroyed,        // the native window is being destroyed; it is gone after this event
    Resized,          // the client size changed
    Exposed,          // the whole client area must be painted again
    CaptureLost,      // the mouse capture was taken away
    HitTest,          // x, y: may the window be dragged from here? answer Caption
    Present,          // the game thread composed rectangles that must be shown
    PostedMouseMove,  // a game thread asked for a mouse-move at the cursor position
    FocusChanged,     // code: 1 gained input focus, 0 lost it
    // Requests a game thread makes of its own window's native side, carried out by the main thread
    // (the only one that may touch native windows). They are the program's own, not user input, so a
    // window disabled by a dialog still carries them out.
    SyncCapture,  // give the native mouse capture to the window if it has a capture object, else release it
    SyncTitle,    // show the window's caption as the native title
    MoveRequest,  // x, y: move the native window there
    ShowRequest,  // code: 1 restore, 0 minimise
};

struct NativeEvent {
    NativeEventType type = NativeEventType::MouseMove;
    int32_t code = 0;
    int32_t x = 0;
    int32_t y = 0;
};

// The engine's answer to an event. Default lets the platform do its own handling (a Close is
// then carried out by destroying the native window); Handled stops it; Caption answers a HitTest
// with "drag the window from here".
enum class EventResult : uint8_t { Default, Handled, Caption };

}  // namespace platform
