#include "platform/SdlNativeWindow.h"

#include <SDL.h>
#include <SDL_syswm.h>  // after SDL.h; on X11 it brings Xlib

#include <algorithm>
#include <cstring>

#include "platform/TimingTrace.h"

namespace platform {

SdlNativeWindow::SdlNativeWindow(const NativeWindowSpec& options, PresentMode mode, int32_t scale,
                                 uint32_t border)
    : width_(options.width), height_(options.height), scale_(std::max(scale, 1)) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (options.borderless) flags |= SDL_WINDOW_BORDERLESS;
    if (options.resizable) flags |= SDL_WINDOW_RESIZABLE;
    window_ = SDL_CreateWindow(options.title.c_str(), 0, 0, std::max(options.width, 1) * scale_,
                               std::max(options.height, 1) * scale_, flags);
    if (!window_) return;
    id_ = SDL_GetWindowID(window_);
    presenter_ = SdlPresenter::Create(mode, window_, width_, height_);
    if (!presenter_) return;
    presenter_->SetBorder(border);
    // Until the first present the window shows its background colour.
    presenter_->Fill(options.background);
    if (options.owner) {
        auto* owner = static_cast<SdlNativeWindow*>(options.owner);
        SDL_SetWindowModalFor(window_, owner->window_);
    }
}

SdlNativeWindow::~SdlNativeWindow() {
    presenter_.reset();
    if (window_) SDL_DestroyWindow(window_);
}

void SdlNativeWindow::Show() {
    SDL_ShowWindow(window_);  // returns once the X server has mapped the window
    trace::Mark("mapped");
    if (fullscreenAtShow_) {
        fullscreenAtShow_ = false;
        if (!fullscreen_) ToggleFullscreen();
    }
    SDL_RaiseWindow(window_);
}

void SdlNativeWindow::MoveTo(int32_t x, int32_t y) {
    if (fullscreen_) {  // where the window goes back to when fullscreen ends
        windowed_.x = x * scale_;
        windowed_.y = y * scale_;
        return;
    }
    SDL_SetWindowPosition(window_, x * scale_, y * scale_);
    NotePosition(x * scale_, y * scale_);
}

void SdlNativeWindow::NotePosition(int32_t x, int32_t y) {
    x_ = x;
    y_ = y;
}

void SdlNativeWindow::NoteExposed() {
    if (presenter_) presenter_->Exposed();
}

void SdlNativeWindow::SetTitle(const std::string& title) {
    SDL_SetWindowTitle(window_, title.c_str());
}

void SdlNativeWindow::SetIcon(const PictureView& icon) {
    if (!icon.bits || icon.width <= 0 || icon.height <= 0 || icon.stride < icon.width * 3) return;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, icon.width, icon.height, 24, SDL_PIXELFORMAT_BGR24);
    if (!surface) return;
    for (int32_t y = 0; y < icon.height; ++y) {  // bottom-up rows into SDL's top-down ones
        std::memcpy(static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
                    icon.bits + static_cast<size_t>(icon.height - 1 - y) * icon.stride,
                    static_cast<size_t>(icon.width) * 3);
    }
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
}

// In logical screen pixels. In fullscreen the rectangle is the logical size centred where the picture
// is, so a dialog opened over it is centred on the picture.
Rect SdlNativeWindow::ScreenRect() const {
    int32_t x = x_, y = y_;
    if (fullscreen_) {
        x += shiftX_;
        y += shiftY_;
    }
    x = Placement::FloorDiv(x, scale_);
    y = Placement::FloorDiv(y, scale_);
    return {x, y, x + width_, y + height_};
}

void SdlNativeWindow::ClientSize(int32_t& width, int32_t& height) const {
    // The logical picture's size, whatever the scale or fullscreen make of it on the screen.
    width = width_;
    height = height_;
}

Placement SdlNativeWindow::CurrentPlacement() const {
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    return CentredPlacement(w, h, width_, height_);
}

// Fullscreen is the window itself made as large as its display, without a frame, rather than SDL's
// fullscreen: that one asks the window manager, and with none (a bare X server, a kiosk) nothing
// would happen. The picture then shows at the largest scale that fits, centred on the border.
void SdlNativeWindow::ToggleFullscreen() {
    if (!fullscreen_) {
        SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
        SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
        windowedBordered_ = (SDL_GetWindowFlags(window_) & SDL_WINDOW_BORDERLESS) == 0;
        SDL_Rect display{0, 0, windowed_.w, windowed_.h};
        const int index = SDL_GetWindowDisplayIndex(window_);
        if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &display) != 0) return;
        const Placement at = CentredPlacement(display.w, display.h, width_, height_);
        shiftX_ = at.offsetX + (width_ * at.scale - width_ * scale_) / 2;
        shiftY_ = at.offsetY + (height_ * at.scale - height_ * scale_) / 2;
        fullscreen_ = true;
        SDL_SetWindowBordered(window_, SDL_FALSE);
        SDL_SetWindowSize(window_, display.w, display.h);
        SDL_SetWindowPosition(window_, display.x, display.y);
        NotePosition(display.x, display.y);
    } else {
        fullscreen_ = false;
        SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
        SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
        if (windowedBordered_) SDL_SetWindowBordered(window_, SDL_TRUE);
        NotePosition(windowed_.x, windowed_.y);
    }
    SDL_RaiseWindow(window_);
}

// Activation: in front and with the keyboard. A window manager gives a window back its focus when its
// dialog closes, but without one (or with one that ignores the request) the focus would stay nowhere,
// and the game stands still while it has no focus.
void SdlNativeWindow::Raise() {
    SDL_RaiseWindow(window_);
    const Uint32 flags = SDL_GetWindowFlags(window_);
    if ((flags & SDL_WINDOW_SHOWN) && !(flags & SDL_WINDOW_MINIMIZED)) SDL_SetWindowInputFocus(window_);
}

void SdlNativeWindow::ShowRestored(bool restored) {
    if (restored)
        SDL_RestoreWindow(window_);
    else
        SDL_MinimizeWindow(window_);
}

bool SdlNativeWindow::HasInputFocus() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void SdlNativeWindow::SetMouseCapture(bool on) {
    capture_ = on;
    SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

namespace {
// The pointer relative to the window, asked of the X server itself: SDL's global mouse state on X11
// is refreshed only by raw input events, which not every server sends. False when not on X11.
bool QueryX11Pointer(SDL_Window* window, int32_t& x, int32_t& y) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    ::Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int buttons = 0;
    if (!XQueryPointer(info.info.x11.display, info.info.x11.window, &root, &child, &rootX, &rootY, &winX,
                       &winY, &buttons))
        return false;  // on another screen
    x = winX;
    y = winY;
    return true;
#else
    (void)window;
    (void)x;
    (void)y;
    return false;
#endif
}
}  // namespace

// The pointer where it really is, also after it has left the window: the motion events stop at the
// window's edge, and a key press or a posted mouse move must not act at a place the pointer has left.
void SdlNativeWindow::CursorClientPos(int32_t& x, int32_t& y) const {
    if (std::this_thread::get_id() == owner_) {
        int32_t px = 0, py = 0;
        if (!QueryX11Pointer(window_, px, py)) {
            int gx = 0, gy = 0, wx = 0, wy = 0;
            SDL_GetGlobalMouseState(&gx, &gy);
            SDL_GetWindowPosition(window_, &wx, &wy);
            px = gx - wx;
            py = gy - wy;
        }
        const Placement at = CurrentPlacement();
        cursorX_ = at.ToLogicalX(px);
        cursorY_ = at.ToLogicalY(py);
    }
    x = cursorX_;
    y = cursorY_;
}

void SdlNativeWindow::NoteCursor(int32_t x, int32_t y) {
    cursorX_ = x;
    cursorY_ = y;
}

void SdlNativeWindow::Present(const PictureView& picture, const std::vector<Rect>& rects) {
    if (!Valid() || !picture.bits) return;
    presenter_->Present(picture, rects);
    ++presentCount_;
    trace::Mark("present");
}

}  // namespace platform
