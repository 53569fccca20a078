#pragma once
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "platform/DisplayScale.h"
#include "platform/NativeWindow.h"
#include "platform/SdlPresenter.h"

struct SDL_Window;

namespace platform {

// A native window on SDL: the window and the presenter that shows the engine's picture in it (the
// window's framebuffer, or a renderer; see PresentMode). Main thread only, except CursorClientPos
// and ScreenRect: on the main thread they ask the desktop, elsewhere they give what the main thread
// last saw (a game thread may ask, and X11 calls belong to the main thread).
class SdlNativeWindow final : public NativeWindow {
  public:
    // Null window (Valid() false) when SDL cannot create one. The window is `scale` times the
    // size the options ask for; everything the engine sees of it (position, size, cursor) stays in logical
    // pixels, the screen's pixels divided by the scale.
    SdlNativeWindow(const NativeWindowSpec& options, PresentMode mode, int32_t scale,
                    uint32_t border);
    ~SdlNativeWindow() override;
    bool Valid() const { return window_ && presenter_; }
    SDL_Window* Handle() const { return window_; }
    uint32_t Id() const { return id_; }

    void Show() override;
    void MoveTo(int32_t x, int32_t y) override;
    void SetTitle(const std::string& title) override;
    void SetIcon(const PictureView& icon) override;
    Rect ScreenRect() const override;
    void ClientSize(int32_t& width, int32_t& height) const override;
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool IsEnabled() const override { return enabled_; }
    void Raise() override;
    void ShowRestored(bool restored) override;
    bool HasInputFocus() const override;
    void SetMouseCapture(bool on) override;
    bool HasMouseCapture() const override { return capture_; }
    void CursorClientPos(int32_t& x, int32_t& y) const override;
    void Present(const PictureView& picture, const std::vector<Rect>& rects) override;
    // Frames presented by every window of the process so far (main thread only).
    static uint64_t PresentCount() { return presentCount_; }

    // The whole display, or back to the window it was.
    void ToggleFullscreen();
    bool IsFullscreen() const { return fullscreen_; }
    // Goes fullscreen as soon as it is shown.
    void FullscreenAtShow() { fullscreenAtShow_ = true; }
    // Where the logical picture lies in the window now.
    Placement CurrentPlacement() const;

    // The window manager moved the window (screen pixels).
    void NotePosition(int32_t x, int32_t y);
    // The mouse was seen at logical client (x, y).
    void NoteCursor(int32_t x, int32_t y);
    // The display lost what the window showed (it was unmapped, minimised or covered).
    void NoteExposed();

  private:
    static inline uint64_t presentCount_ = 0;
    SDL_Window* window_ = nullptr;
    std::unique_ptr<SdlPresenter> presenter_;  // released before the window
    uint32_t id_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t scale_ = 1;
    std::atomic<int32_t> x_{0};
    std::atomic<int32_t> y_{0};
    mutable std::atomic<int32_t> cursorX_{0};
    mutable std::atomic<int32_t> cursorY_{0};
    const std::thread::id owner_ = std::this_thread::get_id();
    std::atomic<bool> enabled_{true};
    bool capture_ = false;
    std::atomic<bool> fullscreen_{false};
    // In fullscreen, from the window's corner to where a logical-size window would sit centred on
    // the picture (screen pixels); ScreenRect may be asked from a game thread.
    std::atomic<int32_t> shiftX_{0};
    std::atomic<int32_t> shiftY_{0};
    bool windowedBordered_ = false;
    bool fullscreenAtShow_ = false;
    struct {
        int x = 0, y = 0, w = 0, h = 0;
    } windowed_;  // where the window was before fullscreen
};

}  // namespace platform
