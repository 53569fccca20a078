#include "platform/SdlPlatform.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/DisplayScale.h"
#include "platform/SdlGamepads.h"
#include "platform/SdlNativeWindow.h"
#include "platform/SdlTestPad.h"
#include "platform/ShellOpen.h"
#include "platform/TimingTrace.h"
#include "platform/VirtualKeys.h"
#include "platform/XWakeupGuard.h"

namespace platform {

namespace {
enum PostedKind : Sint32 { kPostedEvent = 1, kPostedActivate = 2, kPostedQuit = 3 };

SDL_HitTestResult HitTestCallback(SDL_Window* win, const SDL_Point* area, void* data) {
    auto* self = static_cast<SdlPlatform*>(data);
    auto* window = static_cast<SdlNativeWindow*>(SDL_GetWindowData(win, "marshwade"));
    if (!window) return SDL_HITTEST_NORMAL;
    const Placement at = window->CurrentPlacement();
    return self->HitTest(window, at.ToLogicalX(area->x), at.ToLogicalY(area->y)) == EventResult::Caption
               ? SDL_HITTEST_DRAGGABLE
               : SDL_HITTEST_NORMAL;
}
}  // namespace

SdlPlatform::SdlPlatform() : SdlPlatform(PresentModeFromEnvironment()) {}

SdlPlatform::SdlPlatform(PresentMode presenting) : presentMode_(presenting) {
    // Before SDL starts: SDL keeps the handler it finds and puts it back when it quits, just before
    // it closes its connections, and the last wake-ups' answers are read then.
    XWakeupGuard::Install();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "SDL could not start: %s\n", SDL_GetError());
        return;
    }
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "marshwade: no display to open: neither an X server (DISPLAY) nor a Wayland "
                     "compositor (WAYLAND_DISPLAY) answered\n");
        noDisplay_ = true;
        return;
    }
    userEvent_ = SDL_RegisterEvents(1);
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        screenWidth_ = mode.w;
        screenHeight_ = mode.h;
    }
    SDL_Rect usable{0, 0, screenWidth_, screenHeight_};
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        usableWidth_ = usable.w;
        usableHeight_ = usable.h;
    } else {
        usableWidth_ = screenWidth_;
        usableHeight_ = screenHeight_;
    }
    const char* asked = SDL_getenv("MARSHWADE_SCALE");
    SetScale(asked ? asked : "auto");
    SDL_StartTextInput();
    gamepads_ = std::make_unique<SdlGamepads>();
    if (gamepads_->Open()) testPad_ = SdlTestPad::FromEnvironment();
    ready_ = userEvent_ != static_cast<uint32_t>(-1);
}

// With neither X11 nor Wayland, SDL falls back to drivers that draw nowhere; the game would run on
// for ever with no window. They stand for a display only when asked for by name (benchmarks, tests).
bool SdlPlatform::HasDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    const std::string name = driver;
    if (name != "offscreen" && name != "dummy") return true;
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    return asked && name == asked;
}

SdlPlatform::~SdlPlatform() {
    {
        std::lock_guard lock(pushMutex_);
        windows_.clear();
    }
    testPad_.reset();
    gamepads_.reset();
    SDL_Quit();
}

NativeWindow* SdlPlatform::CreateNativeWindow(const NativeWindowSpec& options) {
    if (!ready_) return nullptr;
    auto window = std::make_unique<SdlNativeWindow>(options, presentMode_, scale_, kBorderColour);
    if (!window->Valid()) return nullptr;
    if (!options.owner && !gameWindow_) gameWindow_ = window.get();
    if (startFullscreen_ && !options.owner) {  // the game's window, once; its dialogs open over it
        startFullscreen_ = false;
        window->FullscreenAtShow();
    }
    SDL_SetWindowData(window->Handle(), "marshwade", window.get());
    SDL_SetWindowHitTest(window->Handle(), &HitTestCallback, this);
    windows_.push_back(std::move(window));
    return windows_.back().get();
}

void SdlPlatform::DestroyNativeWindow(NativeWindow* window) {
    auto it = std::find_if(windows_.begin(), windows_.end(), [&](auto& w) { return w.get() == window; });
    if (it == windows_.end()) return;
    if (it->get() == gameWindow_) gameWindow_ = nullptr;
    if (handler_) handler_(*window, {NativeEventType::Destroyed, 0, 0, 0});
    it = std::find_if(windows_.begin(), windows_.end(), [&](auto& w) { return w.get() == window; });
    if (it == windows_.end()) return;
    std::unique_ptr<SdlNativeWindow> gone = std::move(*it);
    windows_.erase(it);
    // Not while a game thread is inside SDL_PushEvent: SDL may be reading this very window there,
    // to wake the event loop through it.
    std::lock_guard lock(pushMutex_);
    gone.reset();
}

void SdlPlatform::Post(NativeWindow* window, const NativeEvent& event) {
    // Only the id travels: the window may be gone when the event arrives. Game threads call this
    // under their window's lock, which the main thread also takes before it frees the window.
    auto* sdl = static_cast<SdlNativeWindow*>(window);
    SDL_Event e{};
    e.type = userEvent_;
    e.user.windowID = sdl ? sdl->Id() : 0;
    e.user.code = kPostedEvent;
    e.user.data1 = new NativeEvent(event);
    if (Push(e) != 1) delete static_cast<NativeEvent*>(e.user.data1);
}

void SdlPlatform::PostActivate(NativeWindow* window) {
    auto* sdl = static_cast<SdlNativeWindow*>(window);
    SDL_Event e{};
    e.type = userEvent_;
    e.user.windowID = sdl ? sdl->Id() : 0;
    e.user.code = kPostedActivate;
    Push(e);
}

void SdlPlatform::PostQuit(int exitCode) {
    SDL_Event e{};
    e.type = userEvent_;
    e.user.code = kPostedQuit;
    e.user.data1 = reinterpret_cast<void*>(static_cast<intptr_t>(exitCode));
    Push(e);
}

int SdlPlatform::Push(SDL_Event& event) {
    int pushed = 0;
    {
        std::lock_guard lock(pushMutex_);
        pushed = SDL_PushEvent(&event);
    }
    {
        std::lock_guard lock(wakeMutex_);
        pushed_ = true;
    }
    wake_.notify_one();
    return pushed;
}

// SDL's own wait cannot be woken by a joystick, so while one is plugged in it looks for events
// every millisecond: a pad lying idle beside the keyboard cost the paused game 4 % of a core. Then
// the loop looks only every kPadLookMs, which is still four times a frame, and whatever the game's
// threads post wakes it at once; the desktop's input waits at most those few milliseconds.
bool SdlPlatform::WaitForEvent(SDL_Event& e) {
    if (!SDL_WasInit(SDL_INIT_JOYSTICK) || SDL_NumJoysticks() == 0) return SDL_WaitEvent(&e) == 1;
    for (;;) {
        if (SDL_PollEvent(&e)) return true;
        std::unique_lock lock(wakeMutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(kPadLookMs), [this] { return pushed_; });
        pushed_ = false;
    }
}

int SdlPlatform::RunEventLoop() {
    quit_ = false;
    const uint64_t presentedBefore = SdlNativeWindow::PresentCount();
    SDL_Event e;
    while (!quit_ && WaitForEvent(e)) {
        HandleSdlEvent(e);
        if (afterFirstPresent_ && SdlNativeWindow::PresentCount() != presentedBefore) {
            const std::function<void()> task = std::move(afterFirstPresent_);
            afterFirstPresent_ = nullptr;
            task();
        }
    }
    return exitCode_;
}

SdlNativeWindow* SdlPlatform::Find(uint32_t windowId) const {
    for (auto& w : windows_) {
        if (w->Id() == windowId) return w.get();
    }
    return nullptr;
}

EventResult SdlPlatform::Dispatch(SdlNativeWindow* window, const NativeEvent& event) {
    if (!window) return EventResult::Default;
    EventResult result = EventResult::Default;
    if (handler_ && window->UserData()) result = handler_(*window, event);
    if (event.type == NativeEventType::Close && result == EventResult::Default) DestroyNativeWindow(window);
    return result;
}

EventResult SdlPlatform::HitTest(SdlNativeWindow* window, int32_t x, int32_t y) {
    return Dispatch(window, {NativeEventType::HitTest, 0, x, y});
}

namespace {
int ButtonCode(Uint8 button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return 1;
        case SDL_BUTTON_RIGHT:
            return 2;
        case SDL_BUTTON_MIDDLE:
            return 4;
        default:
            return 0;
    }
}
}  // namespace

void SdlPlatform::HandleSdlEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:  // an interrupt from the terminal: close every window as the user would
            for (size_t i = windows_.size(); i-- > 0;)
                Post(windows_[i].get(), {NativeEventType::Close, 0, 0, 0});
            break;
        case SDL_WINDOWEVENT:
            HandleWindowEvent(e);
            break;
        case SDL_MOUSEMOTION:
            if (SdlNativeWindow* w = Find(e.motion.windowID)) {
                const Placement at = w->CurrentPlacement();
                const int32_t x = at.ToLogicalX(e.motion.x), y = at.ToLogicalY(e.motion.y);
                w->NoteCursor(x, y);
                Dispatch(w, {NativeEventType::MouseMove, 0, x, y});
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            int code = ButtonCode(e.button.button);
            if (code == 0) break;
            auto type =
                e.type == SDL_MOUSEBUTTONDOWN ? NativeEventType::ButtonDown : NativeEventType::ButtonUp;
            SdlNativeWindow* w = Find(e.button.windowID);
            if (!w) break;
            const Placement at = w->CurrentPlacement();
            const int32_t x = at.ToLogicalX(e.button.x), y = at.ToLogicalY(e.button.y);
            w->NoteCursor(x, y);
            Dispatch(w, {type, code, x, y});
            break;
        }
        case SDL_KEYDOWN:
            HandleKey(e, true);
            break;
        case SDL_KEYUP:
            HandleKey(e, false);
            break;
        case SDL_TEXTINPUT:
            HandleText(e);
            break;
        default:
            if (HandlePad(e)) break;
            if (e.type == userEvent_) HandlePosted(e);
            break;
    }
}

void SdlPlatform::HandleWindowEvent(const SDL_Event& e) {
    SdlNativeWindow* window = Find(e.window.windowID);
    if (!window) return;
    switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            Dispatch(window, {NativeEventType::Close, 0, 0, 0});
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            window->NoteExposed();
            Dispatch(window, {NativeEventType::Exposed, 0, 0, 0});
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            // Into or out of fullscreen: the picture moves and scales, so all of it is shown again.
            Dispatch(window, {NativeEventType::Resized, 0, 0, 0});
            if (Find(e.window.windowID)) Dispatch(window, {NativeEventType::Exposed, 0, 0, 0});
            break;
        case SDL_WINDOWEVENT_MOVED:
            window->NotePosition(e.window.data1, e.window.data2);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            Dispatch(window, {NativeEventType::FocusChanged, 1, 0, 0});
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            Dispatch(window, {NativeEventType::FocusChanged, 0, 0, 0});
            break;
        default:
            break;
    }
}

void SdlPlatform::HandleKey(const SDL_Event& e, bool down) {
    SdlNativeWindow* window = Find(e.key.windowID);
    // F11 and Alt+Enter belong to the desktop window, not the game: they switch fullscreen.
    const SDL_Keycode sym = e.key.keysym.sym;
    const bool alt = (e.key.keysym.mod & KMOD_ALT) != 0;
    if (window && (sym == SDLK_F11 || (alt && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER)))) {
        if (down && !e.key.repeat) {
            // A dialog never fills the screen on its own: the game's window does, with the dialog over it.
            SdlNativeWindow* target = gameWindow_ ? gameWindow_ : window;
            const bool before = target->IsFullscreen();
            target->ToggleFullscreen();
            if (target == gameWindow_ && target->IsFullscreen() != before && fullscreenSwitched_)
                fullscreenSwitched_(target->IsFullscreen());
        }
        return;
    }
    int vk = VirtualKeyFromSdl(sym);
    if (!window || vk == 0) return;
    DispatchKey(window, vk, down);
}

void SdlPlatform::DispatchKey(SdlNativeWindow* window, int vk, bool down) {
    const uint32_t id = window->Id();
    Dispatch(window, {down ? NativeEventType::KeyDown : NativeEventType::KeyUp, vk, 0, 0});
    if (down) trace::Mark("key");
    int ch = down ? ControlCharForVirtualKey(vk) : 0;
    if (ch != 0 && Find(id)) Dispatch(window, {NativeEventType::Char, ch, 0, 0});
}

bool SdlPlatform::HandlePad(const SDL_Event& e) {
    std::vector<PadKey> keys;
    if (!gamepads_ || !gamepads_->Translate(e, keys)) return false;
    for (const PadKey& key : keys) {
        // Looked up for every key: the first may close the window it went to (B closing a dialog).
        SDL_Window* focused = SDL_GetKeyboardFocus();
        SdlNativeWindow* window = focused ? Find(SDL_GetWindowID(focused)) : nullptr;
        // Without a window manager nothing may hold the focus: the newest window is the one in front.
        if (!window && !windows_.empty()) window = windows_.back().get();
        if (window) DispatchKey(window, key.code, key.down);
    }
    return true;
}

void SdlPlatform::HandleText(const SDL_Event& e) {
    SdlNativeWindow* window = Find(e.text.windowID);
    if (!window) return;
    for (uint8_t byte : Utf8ToCp1252(e.text.text)) {
        if (!Find(e.text.windowID)) break;
        Dispatch(window, {NativeEventType::Char, byte, 0, 0});
    }
}

void SdlPlatform::HandlePosted(const SDL_Event& e) {
    if (e.user.code == kPostedQuit) {
        quit_ = true;
        exitCode_ = static_cast<int>(reinterpret_cast<intptr_t>(e.user.data1));
        return;
    }
    SdlNativeWindow* window = Find(e.user.windowID);  // it may be gone since the event was posted
    if (e.user.code == kPostedActivate) {
        if (window) window->Raise();
        return;
    }
    auto* event = static_cast<NativeEvent*>(e.user.data1);
    if (window) Dispatch(window, *event);
    delete event;
}

bool SdlPlatform::SetScale(const std::string& text) {
    const std::optional<int32_t> asked = ParseScale(text);
    if (!asked) {
        std::fprintf(stderr,
                     "marshwade: scale \"%s\" is not auto or a whole number from 1 to %d; using auto\n",
                     text.c_str(), static_cast<int>(kMaxScale));
    }
    if (asked && *asked > 0) {
        scale_ = *asked;
    } else {
        // Room for a window frame and a panel the desktop may not count as taken.
        scale_ = FitScale(usableWidth_ - kRoomForFrame, usableHeight_ - kRoomForFrame, kLogicalWidth,
                          kLogicalHeight);
    }
    return asked.has_value();
}

int32_t SdlPlatform::FullscreenScale() const {
    return FitScale(screenWidth_, screenHeight_, kLogicalWidth, kLogicalHeight);
}

void SdlPlatform::ScreenSize(int32_t& width, int32_t& height) const {
    width = screenWidth_ / scale_;
    height = screenHeight_ / scale_;
}

bool SdlPlatform::OpenWithShell(const std::string& target) {
    return OpenWithXdgOpen(target);
}

void SdlPlatform::ShowMessage(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "", text.c_str(), nullptr);
}

}  // namespace platform
