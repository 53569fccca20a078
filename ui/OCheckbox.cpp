#include "ui/OCheckbox.h"

#include <algorithm>

#include "engine/OWindow.h"
#include "graphics/LiveSet.h"
#include "graphics/OClip.h"
#include "ui/OButton.h"

OCheckbox::OCheckbox(OControl* unchecked, OControl* checked, bool focusable, const std::string&) {
    SetFocusable(focusable);
    AddChild(unchecked);
    AddChild(checked);
    if (IsLive(unchecked)) unchecked->SetVisible(true);
    if (IsLive(checked)) checked->SetVisible(false);
    currentIndex_ = 0;
}

OCheckbox::OCheckbox(const std::string& caption, const std::string& clipFile, bool focusable,
                     const std::string& defaultClipFile) {
    SetFocusable(focusable);
    auto* clip = new OClip();
    if (clipFile.empty() || !clip->Load(clipFile)) {
        if (!clip->Load(defaultClipFile)) clip->Reset();
    }
    // A clip of fewer than 6 frames lends its last frame to the looks it lacks; without frames the
    // buttons have empty looks (and the size a button takes without any).
    const int last = std::max(clip->FrameCount() - 1, 0);
    for (int b = 0; b < 2; ++b) {
        auto* button = new OButton(caption, *clip, std::min(3 * b, last), std::min(3 * b + 1, last),
                                   std::min(3 * b + 2, last), focusable);
        AddChild(button);
        button->SetVisible(b == 0);
    }
    clip->Destroy();
    currentIndex_ = 0;
}

OGraph* OCheckbox::ShownChild() const {
    const auto& children = Children();
    const int index = CurrentIndex();
    if (index < 0 || static_cast<size_t>(index) >= children.size()) return nullptr;
    OGraph* child = children[static_cast<size_t>(index)];
    return IsLive(child) ? child : nullptr;
}

OControl* OCheckbox::ShownControl() const {
    return dynamic_cast<OControl*>(ShownChild());
}

bool OCheckbox::IsChild(const OGraph* graph) const {
    const auto& children = Children();
    return graph && std::find(children.begin(), children.end(), graph) != children.end();
}

bool OCheckbox::HitTest(int x, int y) {
    if (!IsVisible() || Children().empty() || CurrentIndex() < 0) return false;
    if (OControl* shown = ShownControl()) return shown->HitTest(x, y);
    return OControl::HitTest(x, y);
}

void OCheckbox::OnMouseMove(int x, int y) {
    if (OControl* shown = ShownControl())
        shown->OnMouseMove(x, y);
    else
        OControl::OnMouseMove(x, y);
}

void OCheckbox::OnPress(int code, int x, int y) {
    if (OControl* shown = ShownControl())
        shown->OnPress(code, x, y);
    else
        OControl::OnPress(code, x, y);
}

void OCheckbox::OnRelease(int code, int x, int y) {
    if (OControl* shown = ShownControl())
        shown->OnRelease(code, x, y);
    else
        OControl::OnRelease(code, x, y);
}

void OCheckbox::OnChar(uint8_t character) {
    if (OControl* shown = ShownControl())
        shown->OnChar(character);
    else
        OControl::OnChar(character);
}

void OCheckbox::OnCaptureChanged(OGraph* control) {
    if (control == this) {
        if (OGraph* shown = ShownChild(); shown && LiveWindow()) LiveWindow()->CaptureGraph(shown);
    }
    OControl::OnCaptureChanged(control);
}

// The focus belongs to the shown child; one that cannot take it leaves the focus where it is.
void OCheckbox::OnFocusChanged(OGraph* control) {
    if (control != this) {
        OControl::OnFocusChanged(control);
        return;
    }
    OControl* shown = ShownControl();
    if (shown && shown->IsFocusable() && LiveWindow()) LiveWindow()->FocusGraph(shown);
}

void OCheckbox::Notify(OControl* source, int event) {
    if (!IsChild(source)) {
        OControl::Notify(source, event);
        return;
    }
    OControl::Notify(this, event);
    if (!IsLive(this) || !IsLive(source)) return;
    CopyStateFrom(*source);
    if (event == ControlEvent::Click) ShowNext();
}

void OCheckbox::SetIndex(int index) {
    const auto& children = Children();
    if (index < 0 || static_cast<size_t>(index) >= children.size() || index == CurrentIndex()) return;
    if (OGraph* old = ShownChild()) old->SetVisible(false);
    currentIndex_ = index;
    if (OGraph* shown = ShownChild()) shown->SetVisible(true);
}

void OCheckbox::ShowNext() {
    const int count = static_cast<int>(Children().size());
    if (count == 0) return;
    OGraph* old = ShownChild();
    const OControl* oldControl = dynamic_cast<const OControl*>(old);
    // Read before hiding: hiding a control takes the window's focus and capture away from it.
    const uint32_t oldState = oldControl ? oldControl->State() : 0;
    if (old) old->SetVisible(false);
    currentIndex_ = (std::max(CurrentIndex(), 0) + 1) % count;
    OGraph* shown = ShownChild();
    if (shown) shown->SetVisible(true);
    OWindow* w = LiveWindow();
    if (!w) return;
    auto* shownControl = dynamic_cast<OControl*>(shown);
    OGraph* heir = shownControl ? shown : this;
    if (oldState & ControlState::Focused) w->FocusGraph(heir);
    if (oldState & ControlState::Captured) w->CaptureGraph(heir);
    // The mouse is still over the box: without this the new button would not know it until the mouse
    // moves, and a second click in the same place would give no Click.
    if ((oldState & ControlState::Hover) && shownControl && IsLive(shownControl)) {
        int cx = 0, cy = 0;
        w->GetCursorClientPos(cx, cy);
        const int rx = static_cast<int>(static_cast<float>(cx) - shownControl->X());
        const int ry = static_cast<int>(static_cast<float>(cy) - shownControl->Y());
        if (shownControl->HitTest(rx, ry)) shownControl->OnMouseMove(rx, ry);
    }
}

void OCheckbox::SetText(const std::string& text) {
    for (OGraph* child : Children()) {
        if (auto* control = IsLive(child) ? dynamic_cast<OControl*>(child) : nullptr) control->SetText(text);
    }
}

std::string OCheckbox::GetText() {
    OControl* shown = ShownControl();
    return shown ? shown->GetText() : std::string();
}
