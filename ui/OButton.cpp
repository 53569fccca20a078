#include "ui/OButton.h"

#include <algorithm>
#include <array>

#include "engine/OWindow.h"
#include "graphics/LiveSet.h"
#include "graphics/OClip.h"
#include "graphics/OGraphNotify.h"
#include "ui/ButtonLooks.h"
#include "ui/OText.h"

namespace {
constexpr uint8_t kCentred = 15;

// A clip loaded from `file`, or none when the name is empty or the file does not load.
OClip* LoadClip(const std::string& file) {
    if (file.empty()) return nullptr;
    auto* clip = new OClip();
    if (clip->Load(file)) return clip;
    clip->Destroy();
    return nullptr;
}

OGraph* FrameOf(OClip& clip, int index) {
    const auto& frames = clip.Children();
    if (index < 0 || static_cast<size_t>(index) >= frames.size()) return nullptr;
    OGraph* frame = frames[static_cast<size_t>(index)];
    return IsLive(frame) ? frame : nullptr;
}

// Adds a copy of frame `index` of `source` to `look`; the copy shares the frame's pixels.
void AddFrameCopy(OClip& look, OClip& source, int index) {
    if (OGraph* frame = FrameOf(source, index)) {
        if (OGraph* copy = frame->Clone()) look.AddChild(copy);
    }
}

// A look made of copies of the frames in `range`; none when the range is empty.
OClip* MakeLook(OClip& source, const button_looks::FrameRange& range) {
    if (range.Empty()) return nullptr;
    auto* look = new OClip();
    look->SetFrameRate(source.FrameRate());
    for (int i = range.first; i < range.end; ++i) AddFrameCopy(*look, source, i);
    if (look->FrameCount() > 0) return look;
    look->Destroy();
    return nullptr;
}
}  // namespace

OButton::OButton(Empty) {}

OButton::OButton(const std::string& caption, const std::string& clipFile, int normal, int highlight,
                 int pressed, bool focusable, const std::string& defaultClipFile) {
    SetFocusable(focusable);
    OClip* source = LoadClip(clipFile);
    if (!source) source = LoadClip(defaultClipFile);
    if (source) {
        const auto ranges = button_looks::Ranges(source->FrameCount(), normal, highlight, pressed);
        std::array<OClip*, 3> looks{};
        for (size_t k = 0; k < looks.size(); ++k) {
            looks[k] = MakeLook(*source, ranges[k]);
            if (!looks[k]) continue;
            looks[k]->SetVisible(k == 0);
            AddChild(looks[k]);
        }
        normalLook_ = looks[0];
        hoverLook_ = looks[1];
        pressedLook_ = looks[2];
        // The frames live on in their copies; the loaded clip itself is no longer needed.
        source->Destroy();
    }
    AddCaption(caption, 28);
    FinishLayout();
}

OButton::OButton(const std::string& caption, const std::string& normalFile, const std::string& highlightFile,
                 const std::string& pressedFile, bool focusable, const std::string& defaultClipFile) {
    SetFocusable(focusable);
    auto* fallback = new OClip();
    if (!fallback->Load(defaultClipFile)) fallback->Reset();
    const int n = fallback->FrameCount();
    const std::array<std::string, 3> files{normalFile, highlightFile, pressedFile};
    // Default frames: the normal look 0, the highlight 1 (0 of a one-frame default), the pressed 2, 1 or 0.
    const std::array<int, 3> defaultFrame{0, n > 1 ? 1 : 0, n > 2 ? 2 : (n > 1 ? 1 : 0)};
    std::array<OClip*, 3> looks{};
    for (size_t k = 0; k < looks.size(); ++k) {
        auto* look = new OClip();
        if (files[k].empty() || !look->Load(files[k])) {
            look->Reset();
            if (k == 0 || !files[k].empty()) {
                look->SetFrameRate(fallback->FrameRate());
                AddFrameCopy(*look, *fallback, defaultFrame[k]);
            }
        }
        look->SetVisible(k == 0);
        AddChild(look);
        looks[k] = look;
    }
    normalLook_ = looks[0];
    hoverLook_ = looks[1];
    pressedLook_ = looks[2];
    fallback->Destroy();
    AddCaption(caption, 36);
    FinishLayout();
}

OButton::OButton(const std::string& caption, OClip& frames, int normal, int highlight, int pressed,
                 bool focusable) {
    SetFocusable(focusable);
    const std::array<int, 3> picked{normal, highlight, pressed};
    std::array<OClip*, 3> looks{};
    for (size_t k = 0; k < looks.size(); ++k) {
        auto* look = new OClip();
        look->SetFrameRate(frames.FrameRate());
        AddFrameCopy(*look, frames, picked[k]);
        look->SetVisible(k == 0);
        AddChild(look);
        looks[k] = look;
    }
    normalLook_ = looks[0];
    hoverLook_ = looks[1];
    pressedLook_ = looks[2];
    AddCaption(caption, 36);
    FinishLayout();
}

void OButton::AddCaption(const std::string& text, int height) {
    auto* caption = new OText(text);
    graphics::FontRecord font;
    font.face = "Arial";
    font.height = height;
    font.weight = 400;
    font.colour = 0;
    caption->SetFont(font);
    caption->SetAlignFlags(kCentred);
    AddChild(caption);
    caption->SetVisible(true);
    caption_ = caption;
}

void OButton::FinishLayout() {
    if (!(Width() > 0 && Height() > 0)) OGraph::SetSize(60, 30, 0);
    if (IsLive(caption_)) caption_->Align();
    UpdateState();
}

void OButton::SetText(const std::string& text) {
    if (IsLive(caption_)) caption_->SetText(text);
}

std::string OButton::GetText() {
    return IsLive(caption_) ? caption_->GetText() : std::string();
}

void OButton::Reset() {
    normalLook_ = nullptr;
    hoverLook_ = nullptr;
    pressedLook_ = nullptr;
    caption_ = nullptr;
    OControl::Reset();
}

OGraph* OButton::Clone() {
    auto* copy = new OButton(Empty{});
    copy->CopyFrom(this);
    return copy;
}

bool OButton::CopyFrom(OGraph* source) {
    if (!OControl::CopyFrom(source)) return false;
    // The children are copies of the template's children, in the same order.
    const auto* from = dynamic_cast<const OButton*>(IsLive(Template()) ? Template() : source);
    if (!from) return true;
    const auto& theirs = from->Children();
    const auto& mine = Children();
    auto mapped = [&](const OGraph* part) -> OGraph* {
        auto it = std::find(theirs.begin(), theirs.end(), part);
        if (!part || it == theirs.end()) return nullptr;
        const size_t at = static_cast<size_t>(it - theirs.begin());
        return at < mine.size() ? mine[at] : nullptr;
    };
    normalLook_ = dynamic_cast<OClip*>(mapped(from->normalLook_));
    hoverLook_ = dynamic_cast<OClip*>(mapped(from->hoverLook_));
    pressedLook_ = dynamic_cast<OClip*>(mapped(from->pressedLook_));
    caption_ = dynamic_cast<OText*>(mapped(from->caption_));
    return true;
}

int OButton::ShownLook() const {
    const std::array<OClip*, 3> looks{normalLook_, hoverLook_, pressedLook_};
    for (size_t k = 0; k < looks.size(); ++k) {
        if (IsLive(looks[k]) && looks[k]->IsVisible()) return static_cast<int>(k);
    }
    return -1;
}

void OButton::ShowLook(OClip* look) {
    for (OClip* other : {normalLook_, hoverLook_, pressedLook_}) {
        if (IsLive(other) && other != look) other->SetVisible(false);
    }
    if (!IsLive(look)) return;
    if (look->FrameCount() > 0) look->PlayFrom(0);
    look->SetVisible(true);
}

void OButton::UpdateState() {
    if (StateChanged() && LiveWindow()) {
        const uint32_t s = State();
        const bool pressed = (s & ControlState::Pressed) && (s & ControlState::Hover);
        if (pressed || (s & ControlState::KeyDown))
            ShowLook(pressedLook_);
        else if (((s & ControlState::Hover) && !(s & ControlState::Pressed)) || (s & ControlState::Focused))
            ShowLook(hoverLook_);
        else
            ShowLook(normalLook_);
        bool handled = false;
        NotifyChange(this, handled, kNotifyShown, nullptr);
    }
    OControl::UpdateState();
}

// Whatever changed inside, the whole button is drawn again: its looks and caption overlap.
void OButton::NotifyChange(OGraph* drawable, bool& handled, uint8_t kind, const ORect*) {
    if (!drawable || !IsVisible()) return;
    OGraph::NotifyChange(this, handled, kind, nullptr);
}
