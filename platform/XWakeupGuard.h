#pragma once

namespace platform {

// SDL wakes its waiting event loop by sending an X event to one of the program's windows; a game
// thread posting an event does that from its own thread and X connection. When the main thread
// destroys that window at the same moment, the X server may see the destruction first and answer
// the wake-up with BadWindow, and Xlib's default error handler then ends the whole program (exit
// code 1, the game unsaved) just because a dialog closed. The main thread is awake anyway then,
// so such an error means nothing.
//
// Install puts an X error handler in front of the one in place (Xlib's, which ends the program):
// BadWindow answering a SendEvent is ignored, every other error goes on as before. Call it on the
// main thread before SDL's video starts: SDL chains its own handler to the one it finds and puts
// that one back as it quits, before it closes the connection whose last wake-ups are answered
// then; installed after SDL, ours would be gone exactly when those answers arrive. Calling it
// again does nothing. Without X (or when the program is built without it) it does nothing.
class XWakeupGuard {
  public:
    static void Install();
};

}  // namespace platform
