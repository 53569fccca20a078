#include "engine/OWindow.h"

#include <optional>

#include <cstdlib>

#include "engine/Engine.h"
#include "engine/FramePacing.h"
#include "engine/WindowDefaults.h"
#include "engine/WindowRegistry.h"
#include "graphics/ArtDetail.h"
#include "graphics/EffectsLibrary.h"
#include "graphics/LiveSet.h"
#include "graphics/OGraph.h"
#include "platform/Platform.h"

using platform::EventResult;
using platform::NativeEvent;
using platform::NativeEventType;

OWindow::OWindow(OWindow* parent)
    : placement_(WindowDefaults::Current().placement),
      parent_(parent),
      style_(WindowDefaults::Current().style),
      background_(WindowDefaults::Current().background),
      width_(WindowDefaults::Current().width),
      height_(WindowDefaults::Current().height) {
    window_registry::RecordMainThread();
    GraphHost::SetExistsCheck(&window_registry::ContainsHost);
    graphics::EffectsLibrary::Load();
    caption_ = parent ? "Dialog window" : "Main window";
    CreateNativeWindow();
}

OWindow::~OWindow() = default;

void OWindow::CreateNativeWindow() {
    platform::Platform& os = engine::GetPlatform();
    int32_t screenW = 0, screenH = 0;
    os.ScreenSize(screenW, screenH);
    if (width_ == 0) width_ = screenW;
    if (height_ == 0) height_ = screenH;

    // Pinned until the new window is placed over it: the parent cannot be torn down meanwhile.
    OWindow* parent = window_registry::Pin(parent_);
    platform::NativeWindowSpec options;
    options.title = caption_;
    options.width = width_;
    options.height = height_;
    options.borderless = (style_ & 1) != 0;
    options.resizable = (style_ & 2) == 0;
    options.background = background_;
    if (parent) {
        std::lock_guard parentLock(parent->mutex_);
        options.owner = parent->native_;
    }
    native_ = os.CreateNativeWindow(options);
    if (!native_) {  // the creation-failed flag stays set, and the parent is left as it was
        if (parent) window_registry::Unpin(parent);
        return;
    }

    int32_t cw = 0, ch = 0;
    native_->ClientSize(cw, ch);
    clientWidth_ = static_cast<float>(cw);
    clientHeight_ = static_cast<float>(ch);
    if (const platform::PictureView* icon = engine::WindowIcon()) native_->SetIcon(*icon);
    native_->SetUserData(this);
    if (parent) {
        parent->SetModal(true);
        holdsParent_ = true;
    }
    creationFailed_ = 0;

    // The picture has the screen's size, so moving or resizing the window never reallocates it. One
    // composed from finer art has the window's own size only: the screen's at that detail would be
    // several times the memory, for parts of the picture no window of the game shows.
    detail_ = graphics::ArtDetail();
    compositor_.SetDetail(detail_);
    if (detail_ > 1)
        picture_ = std::make_unique<OffscreenPicture>(width_ * detail_, height_ * detail_, background_);
    else
        picture_ = std::make_unique<OffscreenPicture>(screenW, screenH, background_);
    picture_->FillBackground({0, 0, picture_->Width(), picture_->Height()});
    effectsHeader_ = graphics::EffectsLibrary::CreatePictureHeader(
        {picture_->Width(), picture_->Height(), 24}, picture_->Bits());
    window_registry::Add(this);
    Place(parent);
    if (parent) window_registry::Unpin(parent);
    native_->Show();
}

namespace {
// Position of an extent within a reference span by two placement bits.
int32_t PlaceAxis(int flags, int low, int high, int32_t from, int32_t to, float size) {
    bool a = flags & low, b = flags & high;
    if (a && b) return from + static_cast<int32_t>((static_cast<float>(to - from) - size) * 0.5f);
    if (b) return static_cast<int32_t>(static_cast<float>(to) - size);
    return from;
}
}  // namespace

void OWindow::Place(OWindow* parent) {
    if (placement_ == 0 || clientWidth_ == 0.0f || clientHeight_ == 0.0f) return;
    platform::Rect ref{0, 0, 0, 0};
    platform::NativeWindow* parentNative = nullptr;
    if (parent) {
        std::lock_guard parentLock(parent->mutex_);
        parentNative = parent->native_;
        if (parentNative) ref = parentNative->ScreenRect();
    }
    if (!parentNative) engine::GetPlatform().ScreenSize(ref.right, ref.bottom);
    int32_t x = PlaceAxis(placement_, 1, 2, ref.left, ref.right, clientWidth_);
    int32_t y = PlaceAxis(placement_, 4, 8, ref.top, ref.bottom, clientHeight_);
    native_->MoveTo(x, y);
}

bool OWindow::Exists(const OWindow* window) {
    return window_registry::Contains(window);
}

bool OWindow::Start() {
    std::lock_guard lock(mutex_);
    suspended_ = false;
    if (frameRate_ < 1) frameRate_ = 1;
    stopEvent_ = false;
    if (!engine::GameThreadsEnabled()) return true;
    threadRunning_ = true;
    window_registry::GameThreadStarted();
    thread_ = std::thread(&OWindow::ThreadMain, this);
    return true;
}

void OWindow::ThreadMain() {
    if (threadRunning_) {
        while (!stopEvent_.load()) {
            int delay = RunFrame();
            if (delay > 0) {
                std::unique_lock lock(sleepMutex_);
                sleepWake_.wait_for(lock, std::chrono::milliseconds(delay),
                                    [&] { return stopEvent_.load(); });
            }
        }
        Teardown();  // deletes this window: nothing of it may be touched after
    }
    window_registry::GameThreadEnded();
}

int OWindow::RunFrame() {
    platform::Platform& os = engine::GetPlatform();
    Lock();
    uint32_t t0 = os.NowMs();
    if (!modalPaused_) Step(t0);
    if (frameRate_ <= 0) frameRate_ = 1;
    uint32_t t1 = os.NowMs();
    int rate = frameRate_;
    Unlock();
    return FrameDelayMs(rate, t1 - t0);
}

void OWindow::RequestStop() {
    {
        std::lock_guard lock(mutex_);
        capture_ = nullptr;
        focus_ = nullptr;
        stateFlags_ |= kStopping;
    }
    {
        std::lock_guard lock(sleepMutex_);
        stopEvent_ = true;
    }
    sleepWake_.notify_all();
}

bool OWindow::Stop() {
    std::lock_guard lock(mutex_);
    stateFlags_ |= kStopping;
    suspended_ = true;
    compositor_.ClearPending();
    std::vector<OGraph*> graphics;
    graphics.swap(graphics_);
    for (OGraph* g : graphics) {
        if (IsLive(g)) g->Destroy();
        // A kept object survives; it must not reach this window once it is gone.
        if (IsLive(g) && g->Window() == this) g->ForgetWindow();
    }
    std::vector<OGraph*> controls;
    controls.swap(controls_);
    for (OGraph* c : controls) {
        if (IsLive(c)) c->Destroy();
        if (IsLive(c) && c->Window() == this) c->ForgetWindow();
    }
    // The objects just destroyed reported their areas uncovered; those records name deleted objects.
    compositor_.ClearPending();
    return true;
}

void OWindow::QueryClose(bool&) {}

void OWindow::Step(uint32_t timeMs) {
    std::lock_guard lock(mutex_);
    if (suspended_) return;
    // By position, reading the length again each time: a step may remove objects from the list.
    for (size_t i = 0; i < graphics_.size(); ++i) {
        if (IsLive(graphics_[i])) graphics_[i]->Step(timeMs);
    }
    for (size_t i = 0; i < controls_.size(); ++i) {
        if (IsLive(controls_[i])) controls_[i]->Step(timeMs);
    }
    Compose();
}

void OWindow::Teardown() {
    platform::Platform& os = engine::GetPlatform();
    // A dialog stopped without its native window being closed first never saw the destroy notice
    // that re-enables its parent; without this the parent would stay paused for good.
    ReleaseParent();
    {
        std::lock_guard lock(mutex_);
        parent_ = nullptr;
    }
    {
        // Under the lock, so the main thread cannot be destroying the native window meanwhile.
        std::lock_guard lock(mutex_);
        if (native_) {
            native_->SetUserData(nullptr);
            os.Post(native_, {NativeEventType::Close, 0, 0, 0});
            native_ = nullptr;
        }
        capture_ = nullptr;
        focus_ = nullptr;
        stateFlags_ |= kStopping;
        threadRunning_ = false;
    }
    Stop();
    {
        std::lock_guard lock(mutex_);
        graphics::EffectsLibrary::ReleaseHeader(effectsHeader_);
        picture_.reset();
        presentPending_.clear();
    }
    const bool quit = quitOnTeardown_;
    window_registry::RemoveAndWait(this);
    {
        std::lock_guard lock(mutex_);  // the last holder (Start) has let go
        if (thread_.joinable()) thread_.detach();
    }
    delete this;
    if (quit) {
        if (window_registry::HasMainThread())
            os.PostQuit(0);
        else
            std::exit(0);
    }
}

void OWindow::SetModal(bool on) {
    std::lock_guard lock(mutex_);
    if (on) {
        ++modalCount_;
    } else if (modalCount_ > 0) {
        --modalCount_;
    } else {
        return;  // no dialog holds this window
    }
    const bool paused = modalCount_ > 0;
    modalPaused_ = paused;
    if (native_) native_->SetEnabled(!paused);
    if (paused || !native_) return;
    // Activation is the main thread's business; posting it lets a game thread end a dialog too.
    platform::Platform& os = engine::GetPlatform();
    os.PostActivate(native_);
    // The pointer may rest on a control while the dialog closes and will not move to say so: the
    // window hears where it is now, which also serves a request the game made while the dialog was
    // open (a level completed, a game over).
    postedMoveKept_ = false;
    os.Post(native_, {NativeEventType::PostedMouseMove, 0, 0, 0});
}

void OWindow::ReleaseParent() {
    LetGoOf(TakeParentHold());
}

OWindow* OWindow::TakeParentHold() {
    if (!holdsParent_.exchange(false)) return nullptr;
    std::lock_guard lock(mutex_);
    return parent_;
}

void OWindow::LetGoOf(OWindow* parent) {
    if (OWindow* pinned = window_registry::Pin(parent)) {
        pinned->SetModal(false);
        window_registry::Unpin(pinned);
    }
}

bool OWindow::OnMainThread() {
    return window_registry::OnMainThread();
}

void OWindow::SetCaption(const std::string& text) {
    std::lock_guard lock(mutex_);
    caption_ = text;
    if (!native_) return;
    if (OnMainThread())
        native_->SetTitle(text);
    else
        engine::GetPlatform().Post(native_, {NativeEventType::SyncTitle, 0, 0, 0});
}

void OWindow::MoveTo(float x, float y) {
    std::lock_guard lock(mutex_);
    if (!native_) return;
    const int32_t ix = static_cast<int32_t>(x), iy = static_cast<int32_t>(y);
    if (OnMainThread())
        native_->MoveTo(ix, iy);
    else
        engine::GetPlatform().Post(native_, {NativeEventType::MoveRequest, 0, ix, iy});
}

void OWindow::SetDragRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    std::lock_guard lock(mutex_);
    dragRect_ = {left, top, right, bottom};
}

void OWindow::ShowRestored(bool restored) {
    std::lock_guard lock(mutex_);
    if (!native_) return;
    if (OnMainThread())
        native_->ShowRestored(restored);
    else
        engine::GetPlatform().Post(native_, {NativeEventType::ShowRequest, restored ? 1 : 0, 0, 0});
}

void OWindow::Close() {
    std::lock_guard lock(mutex_);
    if (native_) engine::GetPlatform().Post(native_, {NativeEventType::Close, 0, 0, 0});
}

void OWindow::PostMouseMove() {
    std::lock_guard lock(mutex_);
    if (native_) engine::GetPlatform().Post(native_, {NativeEventType::PostedMouseMove, 0, 0, 0});
}

void OWindow::GetCursorClientPos(int& x, int& y) const {
    std::lock_guard lock(mutex_);
    x = y = 0;
    if (native_) native_->CursorClientPos(x, y);
}

void OWindow::PresentNow() {
    if (!OnMainThread()) return;
    std::lock_guard lock(mutex_);
    PresentPending();
}

void OWindow::PresentPending() {
    if (!native_ || !picture_ || presentPending_.empty()) return;
    platform::PictureView view = picture_->View();
    view.detail = detail_;
    native_->Present(view, presentPending_);
    presentPending_.clear();
}

OWindow* OWindow::HandleDestroyed() {
    capture_ = nullptr;
    focus_ = nullptr;
    OWindow* heldParent = TakeParentHold();
    if (!IsStopping()) {
        parent_ = nullptr;
        if (native_) native_->SetUserData(nullptr);
    }
    native_ = nullptr;  // freed by the platform once this event is handled
    if (quitOnTeardown_ || stopOnDestroy_) RequestStop();
    return heldParent;
}

EventResult OWindow::HandleNativeEvent(const NativeEvent& e) {
    if (e.type == NativeEventType::Destroyed) {
        OWindow* heldParent = nullptr;
        {
            std::lock_guard lock(mutex_);
            heldParent = HandleDestroyed();
        }
        // A parent opens its dialog from its own handler, holding its lock while the dialog takes its
        // own: the parent's lock comes first. Letting go of the parent takes its lock, so this
        // window's must no longer be held, or the two would be taken in both orders.
        LetGoOf(heldParent);
        return EventResult::Handled;
    }
    std::lock_guard lock(mutex_);
    if (const std::optional<EventResult> handled = HandleWindowEvent(e)) return *handled;
    // A dialog is open over this window: no input.
    if (modalPaused_) return EventResult::Handled;
    return DeliverInput(e);
}

// The events about the window itself (its size, its picture, closing, focus and capture, the
// program's own requests); none when the event is input.
std::optional<EventResult> OWindow::HandleWindowEvent(const NativeEvent& e) {
    const bool disabled = modalPaused_;
    switch (e.type) {
        case NativeEventType::Resized:
            if (native_) {
                int32_t w = 0, h = 0;
                native_->ClientSize(w, h);
                clientWidth_ = static_cast<float>(w);
                clientHeight_ = static_cast<float>(h);
            }
            return EventResult::Handled;
        case NativeEventType::Exposed:
            if (picture_)
                presentPending_.assign(1, {0, 0, picture_->Width() / detail_, picture_->Height() / detail_});
            PresentPending();
            return EventResult::Handled;
        case NativeEventType::Present:
            PresentPending();
            return EventResult::Handled;
        case NativeEventType::Close: {
            if (IsStopping()) return EventResult::Default;
            // Refused while a dialog is open over this window: the dialog's game thread would
            // otherwise outlive the window it reports to.
            if (disabled) return EventResult::Handled;
            bool allow = true;
            QueryClose(allow);
            return allow ? EventResult::Default : EventResult::Handled;
        }
        case NativeEventType::FocusChanged:
            hasInputFocus_ = e.code != 0;
            // The desktop takes the mouse capture away with the focus; a pressed or hovered control
            // must hear of it, or it stays pressed.
            if (e.code == 0 && capture_) OnCaptureLost();
            // Coming back (from a browser, another program) with the pointer resting on a control.
            if (e.code != 0 && native_)
                engine::GetPlatform().Post(native_, {NativeEventType::PostedMouseMove, 0, 0, 0});
            return EventResult::Handled;
        case NativeEventType::SyncCapture:
            SyncNativeCapture();
            return EventResult::Handled;
        case NativeEventType::SyncTitle:
            if (native_) native_->SetTitle(caption_);
            return EventResult::Handled;
        case NativeEventType::MoveRequest:
            if (native_) native_->MoveTo(e.x, e.y);
            return EventResult::Handled;
        case NativeEventType::ShowRequest:
            if (native_) native_->ShowRestored(e.code != 0);
            return EventResult::Handled;
        case NativeEventType::PostedMouseMove:
            // The program's own request, not user input: kept while a dialog is open and handled
            // when the window is enabled again.
            if (disabled) {
                postedMoveKept_ = true;
                return EventResult::Handled;
            }
            return std::nullopt;
        case NativeEventType::CaptureLost:
            OnCaptureLost();
            return EventResult::Handled;
        case NativeEventType::HitTest:
            return !disabled && DragAllowedAt(e.x, e.y) ? EventResult::Caption : EventResult::Default;
        default:
            return std::nullopt;
    }
}

EventResult OWindow::DeliverInput(const NativeEvent& e) {
    int cx = 0, cy = 0;
    switch (e.type) {
        case NativeEventType::KeyDown:
            GetCursorClientPos(cx, cy);
            OnPress(e.code, cx, cy);
            break;
        case NativeEventType::KeyUp:
            GetCursorClientPos(cx, cy);
            OnRelease(e.code, cx, cy);
            break;
        case NativeEventType::Char:
            OnChar(static_cast<uint8_t>(e.code & 0xFF));
            break;
        case NativeEventType::MouseMove:
            OnMouseMove(e.x, e.y);
            break;
        case NativeEventType::PostedMouseMove:
            GetCursorClientPos(cx, cy);
            OnMouseMove(cx, cy);
            break;
        case NativeEventType::ButtonDown:
            OnPress(e.code, e.x, e.y);
            break;
        case NativeEventType::ButtonUp:
            OnRelease(e.code, e.x, e.y);
            break;
        default:
            return EventResult::Default;
    }
    return EventResult::Handled;
}
