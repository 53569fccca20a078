#pragma once
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/NativeWindow.h"

namespace platform {

// A native window without a display, for tests. It remembers where it is, what was presented and
// which flags the engine set, and lets a test choose the cursor position and the input focus.
//
// Like a real one, it belongs to the thread that created it (the main thread): every call that a real
// window allows only there is counted when it comes from another thread (OffThreadCalls).
class HeadlessNativeWindow final : public NativeWindow {
  public:
    explicit HeadlessNativeWindow(const NativeWindowSpec& options);

    void Show() override;
    void MoveTo(int32_t x, int32_t y) override;
    void SetTitle(const std::string& title) override;
    void SetIcon(const PictureView& icon) override;
    int32_t IconWidth() const { return iconWidth_; }
    Rect ScreenRect() const override;
    void ClientSize(int32_t& width, int32_t& height) const override;
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    bool IsEnabled() const override { return enabled_; }
    void Raise() override;
    void ShowRestored(bool restored) override;
    bool IsMinimised() const { return minimised_; }
    bool HasInputFocus() const override { return focus_; }
    void SetMouseCapture(bool on) override;
    bool HasMouseCapture() const override;
    void CursorClientPos(int32_t& x, int32_t& y) const override;
    void Present(const PictureView& picture, const std::vector<Rect>& rects) override;

    // Test controls and observations.
    void SetCursor(int32_t x, int32_t y);
    void SetInputFocus(bool focus) { focus_ = focus; }
    bool IsShown() const { return shown_; }
    int RaiseCount() const { return raiseCount_; }
    // Calls that a real native window allows only on the main thread, made from another thread.
    int OffThreadCalls() const { return offThreadCalls_.load(); }
    const NativeWindowSpec& Spec() const { return options_; }
    // Every present so far, one list of rectangles each.
    std::vector<std::vector<Rect>> Presents() const;
    void ClearPresents();

  private:
    void CheckThread();

    NativeWindowSpec options_;
    const std::thread::id owner_ = std::this_thread::get_id();
    mutable std::atomic<int> offThreadCalls_{0};
    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t cursorX_ = 0;
    int32_t cursorY_ = 0;
    bool shown_ = false;
    std::atomic<bool> enabled_{true};
    std::atomic<bool> focus_{true};
    bool capture_ = false;
    bool minimised_ = false;
    int raiseCount_ = 0;
    int32_t iconWidth_ = 0;
    mutable std::mutex presentsMutex_;
    std::vector<std::vector<Rect>> presents_;
};

}  // namespace platform
