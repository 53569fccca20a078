#include "platform/HeadlessNativeWindow.h"

namespace platform {

HeadlessNativeWindow::HeadlessNativeWindow(const NativeWindowSpec& options) : options_(options) {}

void HeadlessNativeWindow::MoveTo(int32_t x, int32_t y) {
    x_ = x;
    y_ = y;
}

Rect HeadlessNativeWindow::ScreenRect() const {
    return {x_, y_, x_ + options_.width, y_ + options_.height};
}

void HeadlessNativeWindow::ClientSize(int32_t& width, int32_t& height) const {
    width = options_.width;
    height = options_.height;
}

void HeadlessNativeWindow::CursorClientPos(int32_t& x, int32_t& y) const {
    x = cursorX_;
    y = cursorY_;
}

void HeadlessNativeWindow::Present(const PictureView&, const std::vector<Rect>& rects) {
    std::lock_guard lock(presentsMutex_);
    presents_.push_back(rects);
}

void HeadlessNativeWindow::SetCursor(int32_t x, int32_t y) {
    cursorX_ = x;
    cursorY_ = y;
}

std::vector<std::vector<Rect>> HeadlessNativeWindow::Presents() const {
    std::lock_guard lock(presentsMutex_);
    return presents_;
}

void HeadlessNativeWindow::ClearPresents() {
    std::lock_guard lock(presentsMutex_);
    presents_.clear();
}

}  // namespace platform
