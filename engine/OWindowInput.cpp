// The input side of OWindow: mouse and keys routed to the scene's controls, capture and focus.
#include <algorithm>

#include "engine/Engine.h"
#include "engine/OWindow.h"
#include "engine/VirtualKey.h"
#include "engine/WindowRegistry.h"
#include "graphics/ControlInput.h"
#include "graphics/LiveSet.h"
#include "graphics/OGraph.h"
#include "platform/NativeWindow.h"
#include "platform/Platform.h"

namespace {
using vk::IsMouseButton;
using vk::kShift;
using vk::kTab;
ControlInput* ControlOf(OGraph* g) {
    return IsLive(g) ? g->AsControl() : nullptr;
}
int RelX(const OGraph* g, int x) {
    return static_cast<int>(static_cast<float>(x) - g->X());
}
int RelY(const OGraph* g, int y) {
    return static_cast<int>(static_cast<float>(y) - g->Y());
}
}  // namespace

void OWindow::OnCaptureLost() {
    CaptureGraph(nullptr);
}

void OWindow::OnMouseMove(int x, int y) {
    RouteMouseMove(x, y);
}

// A control leaving the pointer drops the capture on the move that leaves it; when the same move lands
// on another control (a pointer that jumps, a touch screen, a remote desktop), that one must hear it
// too, or the press that follows finds no holder.
void OWindow::RouteMouseMove(int x, int y) {
    std::lock_guard lock(mutex_);
    OGraph* holder = capture_;
    if (ControlInput* c = ControlOf(holder)) {
        c->OnMouseMove(RelX(holder, x), RelY(holder, y));
        if (capture_) return;
    }
    for (size_t i = 0; i < controls_.size(); ++i) {
        OGraph* g = controls_[i];
        ControlInput* c = ControlOf(g);
        if (g == holder || !c || !c->HitTest(RelX(g, x), RelY(g, y))) continue;
        c->OnMouseMove(RelX(g, x), RelY(g, y));
        if (capture_) break;
    }
}

OGraph* OWindow::ControlAt(int x, int y) {
    std::lock_guard lock(mutex_);
    for (OGraph* g : controls_) {
        ControlInput* c = ControlOf(g);
        if (c && c->HitTest(RelX(g, x), RelY(g, y))) return g;
    }
    return nullptr;
}

void OWindow::OnPress(int code, int x, int y) {
    std::lock_guard lock(mutex_);
    // The moves that would have told the controls where the pointer is may never have come (a window
    // opened under a resting pointer, input given back while it rested): the press itself says where
    // it is, so the control under it holds the capture before the press is routed.
    if (IsMouseButton(code)) {
        OGraph* holder = capture_;
        if (!holder || !ControlOf(holder) || !ControlOf(holder)->HitTest(RelX(holder, x), RelY(holder, y)))
            RouteMouseMove(x, y);
    }
    OGraph* target = IsMouseButton(code) ? capture_ : focus_;
    // The Tab rule looks at the focus before the press: a focused control moves the focus itself,
    // and Tab past the last one must leave none rather than start over at once.
    const bool hadFocus = focus_ != nullptr;
    if (code == kShift) shiftHeld_ = true;
    if (ControlInput* c = ControlOf(target)) c->OnPress(code, RelX(target, x), RelY(target, y));
    if (code == kTab && !hadFocus) FocusStep();
}

void OWindow::OnRelease(int code, int x, int y) {
    std::lock_guard lock(mutex_);
    if (code == kShift) shiftHeld_ = false;
    OGraph* target = IsMouseButton(code) ? capture_ : focus_;
    if (ControlInput* c = ControlOf(target)) c->OnRelease(code, RelX(target, x), RelY(target, y));
}

void OWindow::OnChar(uint8_t character) {
    std::lock_guard lock(mutex_);
    if (ControlInput* c = ControlOf(focus_)) c->OnChar(character);
}

void OWindow::OnCommand(int source, int event) {
    OWindow* parent = nullptr;
    {
        std::lock_guard lock(mutex_);
        parent = parent_;
    }
    // Pinned for the call, as Teardown pins it: the parent's own teardown waits until it returns.
    if (OWindow* pinned = window_registry::Pin(parent)) {
        pinned->OnCommand(source, event & 0xFFFF);
        window_registry::Unpin(pinned);
    }
}

void OWindow::CaptureGraph(OGraph* graph) {
    std::lock_guard lock(mutex_);
    if (graph == capture_) return;
    OGraph* old = capture_;
    if (ControlInput* c = ControlOf(old)) c->OnCaptureChanged(graph);
    capture_ = graph;
    SyncNativeCapture();
    if (graph) {
        if (ControlInput* c = ControlOf(graph)) c->OnCaptureChanged(graph);
    }
}

void OWindow::SyncNativeCapture() {
    std::lock_guard lock(mutex_);
    if (!native_) return;
    // A control hidden or removed inside a frame step changes the capture on the game thread.
    if (!OnMainThread()) {
        engine::GetPlatform().Post(native_, {platform::NativeEventType::SyncCapture, 0, 0, 0});
        return;
    }
    if (capture_)
        native_->SetMouseCapture(true);
    else if (native_->HasMouseCapture())
        native_->SetMouseCapture(false);
}

void OWindow::FocusGraph(OGraph* graph) {
    std::lock_guard lock(mutex_);
    if (graph) {
        ControlInput* c = ControlOf(graph);
        if (!c || !c->IsFocusable()) return;
    }
    if (graph == focus_) return;
    if (ControlInput* old = ControlOf(focus_)) old->OnFocusChanged(graph);
    focus_ = graph;
    if (ControlInput* c = ControlOf(graph)) c->OnFocusChanged(graph);
}

void OWindow::FocusNext() {
    std::lock_guard lock(mutex_);
    size_t start = 0;
    if (IsLive(focus_)) {
        OGraph* top = focus_;
        while (IsLive(top->Parent())) top = top->Parent();
        auto it = std::find(controls_.begin(), controls_.end(), top);
        if (it != controls_.end()) start = static_cast<size_t>(it - controls_.begin()) + 1;
    }
    for (size_t i = start; i < controls_.size(); ++i) {
        ControlInput* c = ControlOf(controls_[i]);
        if (c && c->IsFocusable()) {
            FocusGraph(controls_[i]);
            return;
        }
    }
    FocusGraph(nullptr);
}

void OWindow::FocusPrevious() {
    std::lock_guard lock(mutex_);
    size_t end = controls_.size();
    if (IsLive(focus_)) {
        OGraph* top = focus_;
        while (IsLive(top->Parent())) top = top->Parent();
        auto it = std::find(controls_.begin(), controls_.end(), top);
        if (it != controls_.end()) end = static_cast<size_t>(it - controls_.begin());
    }
    for (size_t i = end; i > 0; --i) {
        ControlInput* c = ControlOf(controls_[i - 1]);
        if (c && c->IsFocusable()) {
            FocusGraph(controls_[i - 1]);
            return;
        }
    }
    FocusGraph(nullptr);
}

void OWindow::FocusStep() {
    std::lock_guard lock(mutex_);
    if (shiftHeld_)
        FocusPrevious();
    else
        FocusNext();
}

bool OWindow::DragAllowedAt(int x, int y) {
    return dragRect_.Contains(x, y) && !ControlAt(x, y);
}
