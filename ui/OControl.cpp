#include "ui/OControl.h"

#include <atomic>
#include <map>
#include <mutex>

#include "engine/OWindow.h"
#include "engine/VirtualKey.h"
#include "graphics/LiveSet.h"
#include "platform/SoundPlayer.h"

namespace {
using vk::kEnter;
using vk::kLeftButton;
using vk::kTab;

// Command ids of the controls that exist. Dialogs on different threads build controls at once.
std::mutex registryMutex;
std::map<int, OControl*>& Registry() {
    static std::map<int, OControl*> registry;
    return registry;
}
int NextCommandId() {
    static std::atomic<int> next{1};
    int id = next.fetch_add(1);
    // After two thousand million controls the ids start over above 0; 0 is never a control.
    if (id <= 0) {
        next.store(2);
        id = 1;
    }
    return id;
}
}  // namespace

OControl::OControl() : commandId_(NextCommandId()) {
    {
        std::lock_guard lock(registryMutex);
        Registry()[commandId_] = this;
    }
    // In front of the drawables at depth 0.
    SetPosition(LocalX(), LocalY(), -1.0f);
}

OControl::~OControl() {
    std::lock_guard lock(registryMutex);
    auto it = Registry().find(commandId_);
    if (it != Registry().end() && it->second == this) Registry().erase(it);
}

OControl* OControl::FromCommandId(int id) {
    std::lock_guard lock(registryMutex);
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : it->second;
}

OWindow* OControl::LiveWindow() const {
    return WindowOf(this);
}

bool OControl::HitTest(int x, int y) {
    return IsVisible() && x >= 0 && y >= 0 && static_cast<float>(x) < Width() &&
           static_cast<float>(y) < Height();
}

void OControl::SetText(const std::string&) {}

std::string OControl::GetText() {
    return {};
}

// prevState is refreshed before the events go out: a handler of one of them may change the state
// again (hiding the control, moving the focus) and its own UpdateState must only see that change.
void OControl::UpdateState() {
    const uint32_t before = prevState_;
    const uint32_t after = state_;
    prevState_ = state_;
    OWindow* w = LiveWindow();
    if (!w || before == after) return;
    // The new look is on screen before a sound starts or a dialog reacts.
    w->Compose();
    for (int event : ControlEventsFor(before, after)) {
        Notify(this, event);
        if (!IsLive(this)) return;
    }
}

void OControl::OnCaptureChanged(OGraph* control) {
    if (control == this)
        state_ |= ControlState::Captured;
    else
        state_ &=
            ~(ControlState::Hover | ControlState::Pressed | ControlState::KeyDown | ControlState::Captured);
    UpdateState();
}

void OControl::OnMouseMove(int x, int y) {
    OWindow* w = LiveWindow();
    if (HitTest(x, y)) {
        if (w && !(state_ & (ControlState::Hover | ControlState::Pressed))) w->CaptureGraph(this);
        // Hovering over a control that can take the focus gives it the focus.
        if (w && focusable_ && !(state_ & ControlState::Focused)) w->FocusGraph(this);
        state_ |= ControlState::Hover;
    } else {
        state_ &= ~ControlState::Hover;
        // A pressed control keeps the capture while the mouse is outside, so that the release there
        // still reaches it (ButtonUp without Click).
        if (w && !(state_ & ControlState::Pressed)) w->CaptureGraph(nullptr);
    }
    UpdateState();
}

void OControl::OnFocusChanged(OGraph* control) {
    if (control == this)
        state_ |= ControlState::Focused;
    else
        state_ &= ~(ControlState::Focused | ControlState::KeyDown);
    UpdateState();
}

void OControl::OnPress(int code, int, int) {
    OWindow* w = LiveWindow();
    if (code == kLeftButton) {
        state_ |= ControlState::Pressed;
        if (w) {
            if (focusable_) w->FocusGraph(this);
            w->CaptureGraph(this);
        }
    } else if (code == kTab) {
        if (w) w->FocusStep();
    } else if (code == kEnter) {
        state_ |= ControlState::KeyDown;
    }
    UpdateState();
}

void OControl::OnRelease(int code, int, int) {
    if (code == kLeftButton) state_ &= ~ControlState::Pressed;
    if (code == kEnter) state_ &= ~ControlState::KeyDown;
    UpdateState();
}

void OControl::OnChar(uint8_t) {}

void OControl::PlaySound(const std::string& name) const {
    if (!name.empty()) platform::SoundPlayer::Shared().Play(name, platform::SoundMode::Async);
}

// The sounds play whether or not the game's sound is on. A control inside another control reports to
// it (the source stays the control that raised the event); one inside a plain group reports nowhere.
void OControl::Notify(OControl* source, int event) {
    if (event == ControlEvent::MouseEnter) PlaySound(hoverSound_);
    if (event == ControlEvent::Click) PlaySound(clickSound_);
    OGraph* parent = Parent();
    if (IsLive(parent)) {
        if (auto* outer = dynamic_cast<OControl*>(parent)) outer->Notify(source, event);
        return;
    }
    if (OWindow* w = LiveWindow(); w && IsLive(source)) w->OnCommand(source->CommandId(), event);
}

void OControl::Reset() {
    OGroup::Reset();
    hoverSound_.clear();
    clickSound_.clear();
}

OGraph* OControl::Clone() {
    auto* copy = new OControl();
    copy->CopyFrom(this);
    return copy;
}

bool OControl::CopyFrom(OGraph* source) {
    const bool copied = OGroup::CopyFrom(source);
    if (const auto* from = dynamic_cast<const OControl*>(source)) {
        hoverSound_ = from->hoverSound_;
        clickSound_ = from->clickSound_;
        focusable_ = from->focusable_;
    }
    return copied;
}

void OControl::SetVisible(bool visible) {
    const bool hiding = IsVisible() && !visible;
    OGroup::SetVisible(visible);
    if (OWindow* w = LiveWindow(); hiding && w) {
        w->CaptureGraph(nullptr);
        w->FocusGraph(nullptr);
    }
}

void OControl::SetSounds(const std::string& hover, const std::string& click) {
    hoverSound_ = hover;
    clickSound_ = click;
}
