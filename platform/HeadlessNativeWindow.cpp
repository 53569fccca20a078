#include "platform/HeadlessNativeWindow.h"

namespace platform {

HeadlessNativeWindow::HeadlessNativeWindow(const NativeWindowSpec& options) : options_(options) {}

void HeadlessNativeWindow::CheckThread() {
    if (std::this_thread::get_id() != owner_) offThreadCalls_.fetch_add(1);
}

void HeadlessNativeWindow::Show() {
    CheckThread();
    shown_ = true;
}

void HeadlessNativeWindow::MoveTo(int32_t x, int32_t y) {
    CheckThread();
    x_ = x;
    y_ = y;
}

void HeadlessNativeWindow::SetTitle(const std::string& title) {
    CheckThread();
    options_.title = title;
}

void HeadlessNativeWindow::SetIcon(const PictureView& icon) {
    CheckThread();
    iconWidth_ = icon.bits ? icon.width : 0;
}

void HeadlessNativeWindow::Raise() {
    CheckThread();
    ++raiseCount_;
}

void HeadlessNativeWindow::ShowRestored(bool restored) {
    CheckThread();
    minimised_ = !restored;
}

void HeadlessNativeWindow::SetMouseCapture(bool on) {
    CheckThread();
    capture_ = on;
}

bool HeadlessNativeWindow::HasMouseCapture() const {
    if (std::this_thread::get_id() != owner_) offThreadCalls_.fetch_add(1);
    return capture_;
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
    CheckThread();
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
