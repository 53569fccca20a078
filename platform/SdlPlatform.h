#pragma once
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/SdlPresenter.h"

union SDL_Event;

namespace platform {

class SdlNativeWindow;
class SdlGamepads;
class SdlTestPad;

// The real desktop through SDL2: windows, the event loop on the main thread, posted events from
// game threads (SDL_PushEvent is thread-safe), the steady millisecond clock, xdg-open and the
// message box. Construct and run it on the main thread. Every window presents the same way, the one
// the environment chose when the platform was made (PresentModeFromEnvironment).
class SdlPlatform final : public Platform {
  public:
    SdlPlatform();
    explicit SdlPlatform(PresentMode presenting);
    ~SdlPlatform() override;
    // False when SDL's video could not start (no display).
    bool Ready() const { return ready_; }
    // True when SDL started but found no display to show a window on (no X11, no Wayland).
    bool NoDisplay() const { return noDisplay_; }
    PresentMode Presenting() const { return presentMode_; }
    // The scale of the windows opened from now on: "auto" (the largest that fits the display's usable
    // area) or a whole number. A wrong value is reported on stderr, auto is used, and false returned.
    bool SetScale(const std::string& text);
    int32_t Scale() const { return scale_; }
    // The scale the game's window is shown at fullscreen on its display.
    int32_t FullscreenScale() const;
    // The first window without an owner opens fullscreen.
    void StartFullscreen() { startFullscreen_ = true; }
    // Told on the main thread each time the player switches the game's window into or out of
    // fullscreen, so the choice can be kept for the next start.
    void OnFullscreenSwitched(std::function<void(bool fullscreen)> listener) {
        fullscreenSwitched_ = std::move(listener);
    }

    void SetEventHandler(EventHandler handler) override { handler_ = std::move(handler); }
    NativeWindow* CreateNativeWindow(const NativeWindowSpec& options) override;
    void DestroyNativeWindow(NativeWindow* window) override;
    void Post(NativeWindow* window, const NativeEvent& event) override;
    void PostActivate(NativeWindow* window) override;
    void PostQuit(int exitCode) override;
    int RunEventLoop() override;
    void ScreenSize(int32_t& width, int32_t& height) const override;
    Clock& GetClock() override { return clock_; }
    bool OpenWithShell(const std::string& target) override;
    void ShowMessage(const std::string& text) override;

    // Runs `task` once on the main thread, as soon as the event loop has presented a frame (a present
    // made before the loop, such as a loading picture, does not count). For work that would hold
    // back the first frame of the game if done before it: looking for an audio device can take a
    // tenth of a second.
    void AfterFirstPresentInLoop(std::function<void()> task) { afterFirstPresent_ = std::move(task); }

    // The engine's answer to a hit test at client (x, y) of the window.
    EventResult HitTest(SdlNativeWindow* window, int32_t x, int32_t y);

  private:
    static bool HasDisplay();
    SdlNativeWindow* Find(uint32_t windowId) const;
    EventResult Dispatch(SdlNativeWindow* window, const NativeEvent& event);
    void HandleSdlEvent(const ::SDL_Event& event);
    void HandleWindowEvent(const ::SDL_Event& event);
    void HandleKey(const ::SDL_Event& event, bool down);
    void DispatchKey(SdlNativeWindow* window, int vk, bool down);
    // A gamepad's keys go where the keyboard's would: the window with the input focus.
    bool HandlePad(const ::SDL_Event& event);
    void HandleText(const ::SDL_Event& event);
    void HandlePosted(const ::SDL_Event& event);
    // SDL_PushEvent, never while the main thread destroys a window (see DestroyNativeWindow).
    int Push(::SDL_Event& event);
    // The next event, waiting for it; false when SDL cannot wait.
    bool WaitForEvent(::SDL_Event& event);

    bool ready_ = false;
    bool noDisplay_ = false;
    PresentMode presentMode_;
    uint32_t userEvent_ = 0;
    // The game's picture size, which the automatic scale must fit; its dialogs are smaller.
    static constexpr int32_t kLogicalWidth = 750;
    static constexpr int32_t kLogicalHeight = 550;
    static constexpr int32_t kRoomForFrame = 48;
    static constexpr uint32_t kBorderColour = 0x00183010;  // the pond's dark green, 0x00BBGGRR
    int32_t scale_ = 1;
    bool startFullscreen_ = false;
    // The first window opened without an owner: the game's. F11 in any of its dialogs switches it.
    SdlNativeWindow* gameWindow_ = nullptr;
    std::function<void(bool)> fullscreenSwitched_;
    int32_t usableWidth_ = 1024;
    int32_t usableHeight_ = 768;
    int32_t screenWidth_ = 1024;
    int32_t screenHeight_ = 768;
    SteadyClock clock_;
    EventHandler handler_;
    std::vector<std::unique_ptr<SdlNativeWindow>> windows_;  // main thread only
    std::mutex pushMutex_;  // a push from any thread against a window's destruction
    std::function<void()> afterFirstPresent_;
    std::unique_ptr<SdlGamepads> gamepads_;
    std::unique_ptr<SdlTestPad> testPad_;  // end-to-end tests only (MARSHWADE_TEST_PAD)
    bool quit_ = false;
    int exitCode_ = 0;
    // With a joystick plugged in, the loop looks for events every kPadLookMs, and a push wakes it.
    static constexpr int kPadLookMs = 5;
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool pushed_ = false;  // under wakeMutex_
};

}  // namespace platform
