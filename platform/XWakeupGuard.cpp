#include "platform/XWakeupGuard.h"

#include <SDL.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#endif

#include <atomic>

namespace platform {

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

// The handler that was in place before ours; Xlib calls handlers from whichever thread met the
// error, so it is read atomically.
std::atomic<XErrorHandler> previous{nullptr};

int IgnoreLateWakeups(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    const XErrorHandler next = previous.load();
    return next ? next(display, error) : 0;
}

}  // namespace

void XWakeupGuard::Install() {
    // Only X calls it, so it does no harm where another video driver is chosen.
    const XErrorHandler before = XSetErrorHandler(&IgnoreLateWakeups);
    // Installed twice, ours would call itself for every other error.
    if (before != &IgnoreLateWakeups) previous.store(before);
}

#else

void XWakeupGuard::Install() {}

#endif

}  // namespace platform
