#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Rect.h"

namespace platform {

// A read-only view of an off-screen picture: 24-bit blue-green-red pixels, rows bottom-up in memory
// (window row y is memory row height - 1 - y), `stride` bytes per row. A picture composed from art
// drawn for a large screen has `detail` pixels each way for every logical pixel of the window;
// rectangles handed over with it stay in logical pixels.
struct PictureView {
    const uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    int32_t detail = 1;
};

// What a new native window looks like.
struct NativeWindowSpec {
    std::string title;
    int32_t width = 0;
    int32_t height = 0;
    bool borderless = false;              // no caption, no system menu
    bool resizable = false;               // a sizing frame
    uint32_t background = 0;              // 0x00BBGGRR, shown until the first present
    class NativeWindow* owner = nullptr;  // a dialog's parent
};

// One top-level window of the desktop. Every operation belongs to the main thread, except the
// user data, which any thread may read or clear (a game thread clears it when its window is torn
// down, so the main thread no longer reaches the engine window through it).
class NativeWindow {
  public:
    virtual ~NativeWindow() = default;

    virtual void Show() = 0;
    virtual void MoveTo(int32_t x, int32_t y) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // The window's icon from a picture in the same format as the off-screen picture.
    virtual void SetIcon(const PictureView& icon) = 0;
    // Screen position and client size.
    virtual Rect ScreenRect() const = 0;
    virtual void ClientSize(int32_t& width, int32_t& height) const = 0;
    // Disabled windows get no input; a modal dialog keeps its owner disabled.
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void Raise() = 0;
    // Minimised (false) or restored (true).
    virtual void ShowRestored(bool restored) = 0;
    virtual bool HasInputFocus() const = 0;
    virtual void SetMouseCapture(bool on) = 0;
    virtual bool HasMouseCapture() const = 0;
    // The cursor in client coordinates.
    virtual void CursorClientPos(int32_t& x, int32_t& y) const = 0;
    // Copies the given rectangles of the picture to the screen.
    virtual void Present(const PictureView& picture, const std::vector<Rect>& rects) = 0;

    void SetUserData(void* data) { userData_.store(data); }
    void* UserData() const { return userData_.load(); }

  private:
    std::atomic<void*> userData_{nullptr};
};

}  // namespace platform
