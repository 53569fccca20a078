#include "platform/HeadlessPlatform.h"

#include <SDL.h>

#include <algorithm>

#include "platform/SdlGamepads.h"
#include "platform/SdlTestPad.h"
#include "platform/VirtualKeys.h"

namespace platform {

HeadlessPlatform::HeadlessPlatform(int32_t screenWidth, int32_t screenHeight)
    : screenWidth_(screenWidth), screenHeight_(screenHeight) {}

HeadlessPlatform::~HeadlessPlatform() {
    pads_.clear();
    if (gamepads_) gamepads_->Close();
}

int HeadlessPlatform::PlugPad() {
    if (!gamepads_) {
        // A test process keeps its own Ctrl+C: SDL would turn it into a quit event nobody reads.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        auto gamepads = std::make_unique<SdlGamepads>();
        if (!gamepads->Open()) return -1;
        gamepads_ = std::move(gamepads);
    }
    std::unique_ptr<SdlTestPad> pad = SdlTestPad::Plug();
    if (!pad) return -1;
    pads_.push_back(std::move(pad));
    return static_cast<int>(pads_.size()) - 1;
}

void HeadlessPlatform::PressPad(int pad, const std::string& line) {
    if (pad >= 0 && pad < static_cast<int>(pads_.size()) && pads_[static_cast<size_t>(pad)])
        pads_[static_cast<size_t>(pad)]->Apply(line);
}

void HeadlessPlatform::UnplugPad(int pad) {
    if (pad >= 0 && pad < static_cast<int>(pads_.size())) pads_[static_cast<size_t>(pad)].reset();
}

void HeadlessPlatform::DeliverPadKeys() {
    if (!gamepads_) return;
    std::vector<PadKey> keys;
    gamepads_->TranslateWaiting(keys);
    for (const PadKey& key : keys) {
        // Looked up for every key: the first may close the window it went to (B closing a dialog).
        NativeWindow* front = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (!windows_.empty()) front = windows_.back().get();
        }
        if (!front) continue;
        Dispatch(front, {key.down ? NativeEventType::KeyDown : NativeEventType::KeyUp, key.code, 0, 0});
        // As the real loop does: Enter and Escape also come as their characters.
        const int ch = key.down ? ControlCharForVirtualKey(key.code) : 0;
        if (ch != 0 && Exists(front)) Dispatch(front, {NativeEventType::Char, ch, 0, 0});
    }
}

void HeadlessPlatform::SetEventHandler(EventHandler handler) {
    handler_ = std::move(handler);
}

NativeWindow* HeadlessPlatform::CreateNativeWindow(const NativeWindowSpec& options) {
    if (failCreation_) return nullptr;
    auto window = std::make_unique<HeadlessNativeWindow>(options);
    NativeWindow* raw = window.get();
    std::lock_guard lock(mutex_);
    windows_.push_back(std::move(window));
    return raw;
}

void HeadlessPlatform::DestroyNativeWindow(NativeWindow* window) {
    if (!Exists(window)) return;
    if (handler_) handler_(*window, {NativeEventType::Destroyed, 0, 0, 0});
    if (active_ == window) active_ = nullptr;
    std::unique_ptr<HeadlessNativeWindow> doomed;
    {
        std::lock_guard lock(mutex_);
        auto it = std::find_if(windows_.begin(), windows_.end(), [&](auto& w) { return w.get() == window; });
        if (it == windows_.end()) return;
        doomed = std::move(*it);
        windows_.erase(it);
    }
}

void HeadlessPlatform::Post(NativeWindow* window, const NativeEvent& event) {
    std::lock_guard lock(mutex_);
    queue_.push_back({window, event, false});
    wake_.notify_all();
}

void HeadlessPlatform::PostActivate(NativeWindow* window) {
    std::lock_guard lock(mutex_);
    queue_.push_back({window, {}, true});
    wake_.notify_all();
}

void HeadlessPlatform::PostQuit(int exitCode) {
    std::lock_guard lock(mutex_);
    quit_ = true;
    exitCode_ = exitCode;
    wake_.notify_all();
}

int HeadlessPlatform::RunEventLoop() {
    for (;;) {
        Posted posted;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return quit_ || !queue_.empty(); });
            if (queue_.empty()) {
                quit_ = false;
                return exitCode_;
            }
            posted = queue_.front();
            queue_.pop_front();
        }
        Deliver(posted);
    }
}

bool HeadlessPlatform::TakeOne(Posted& out) {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) return false;
    out = queue_.front();
    queue_.pop_front();
    return true;
}

int HeadlessPlatform::Pump() {
    DeliverPadKeys();
    int count = 0;
    Posted posted;
    while (TakeOne(posted)) {
        Deliver(posted);
        ++count;
    }
    return count;
}

void HeadlessPlatform::Deliver(const Posted& posted) {
    if (!Exists(posted.window)) return;  // destroyed since the event was posted
    if (posted.activate) {
        active_ = posted.window;
        return;
    }
    Dispatch(posted.window, posted.event);
}

EventResult HeadlessPlatform::Dispatch(NativeWindow* window, const NativeEvent& event) {
    if (!Exists(window)) return EventResult::Default;
    EventResult result = EventResult::Default;
    if (handler_ && window->UserData()) result = handler_(*window, event);
    if (event.type == NativeEventType::Close && result == EventResult::Default) DestroyNativeWindow(window);
    return result;
}

void HeadlessPlatform::ScreenSize(int32_t& width, int32_t& height) const {
    width = screenWidth_;
    height = screenHeight_;
}

bool HeadlessPlatform::OpenWithShell(const std::string& target) {
    std::lock_guard lock(mutex_);
    shellRequests_.push_back(target);
    return !failShell_;
}

void HeadlessPlatform::ShowMessage(const std::string& text) {
    std::lock_guard lock(mutex_);
    messages_.push_back(text);
}

bool HeadlessPlatform::Exists(const NativeWindow* window) const {
    std::lock_guard lock(mutex_);
    return window &&
           std::any_of(windows_.begin(), windows_.end(), [&](auto& w) { return w.get() == window; });
}

size_t HeadlessPlatform::WindowCount() const {
    std::lock_guard lock(mutex_);
    return windows_.size();
}

HeadlessNativeWindow* HeadlessPlatform::LastWindow() const {
    std::lock_guard lock(mutex_);
    return windows_.empty() ? nullptr : windows_.back().get();
}

std::vector<HeadlessNativeWindow*> HeadlessPlatform::Windows() const {
    std::lock_guard lock(mutex_);
    std::vector<HeadlessNativeWindow*> out;
    for (const auto& w : windows_) out.push_back(w.get());
    return out;
}

std::vector<std::string> HeadlessPlatform::ShellRequests() const {
    std::lock_guard lock(mutex_);
    return shellRequests_;
}

std::vector<std::string> HeadlessPlatform::Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

}  // namespace platform
