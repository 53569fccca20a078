#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Clock.h"
#include "platform/NativeEvent.h"
#include "platform/NativeWindow.h"

namespace platform {

// The engine's window procedure: called on the main thread for every event of a native window.
using EventHandler = std::function<EventResult(NativeWindow&, const NativeEvent&)>;

// Every operating-system service the engine uses. Two implementations: SdlPlatform (the real
// desktop) and HeadlessPlatform (tests: no display, a manual clock, recorded presents).
//
// Threads: CreateNativeWindow, DestroyNativeWindow, Dispatch and RunEventLoop belong to the main
// thread. Post, PostQuit, NowMs, OpenWithShell and ScreenSize may be called from any thread.
class Platform {
  public:
    virtual ~Platform() = default;

    // The handler that receives every native event. Set once before windows exist.
    virtual void SetEventHandler(EventHandler handler) = 0;

    // Null when the window cannot be created. The platform owns the window until it is destroyed,
    // either by DestroyNativeWindow or by the default handling of a Close event.
    virtual NativeWindow* CreateNativeWindow(const NativeWindowSpec& options) = 0;
    // Sends Destroyed to the handler, then frees the window. Unknown pointers are ignored.
    virtual void DestroyNativeWindow(NativeWindow* window) = 0;

    // Queues an event for the window, delivered later on the main thread if the window still
    // exists then. A Close queued for a window without user data destroys it.
    virtual void Post(NativeWindow* window, const NativeEvent& event) = 0;
    // Makes the window the active one, later, on the main thread (if it still exists).
    virtual void PostActivate(NativeWindow* window) = 0;
    // Ends RunEventLoop with this exit code.
    virtual void PostQuit(int exitCode) = 0;
    // Runs the event loop until PostQuit; returns the exit code.
    virtual int RunEventLoop() = 0;

    virtual void ScreenSize(int32_t& width, int32_t& height) const = 0;
    virtual Clock& GetClock() = 0;
    uint32_t NowMs() { return GetClock().NowMs(); }

    // Opens a file or address with the desktop's default program; does not wait. False when it
    // could not be started.
    virtual bool OpenWithShell(const std::string& target) = 0;
    // A blocking message box with an OK button; the text also goes to standard error.
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace platform
