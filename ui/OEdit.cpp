#include "ui/OEdit.h"

#include <algorithm>

#include "engine/OWindow.h"
#include "engine/VirtualKey.h"
#include "graphics/LiveSet.h"
#include "graphics/OBitmap.h"
#include "graphics/OClip.h"
#include "ui/OText.h"
#include "ui/TextGeometry.h"

namespace {
using namespace vk;
constexpr int kCaretRate = 4;
constexpr int kCaretWidth = 3;

OClip* NewCaret() {
    auto* caret = new OClip();
    caret->SetFrameRate(kCaretRate);
    caret->SetVisible(false);
    return caret;
}
}  // namespace

OEdit::OEdit(Empty e) : OButton(e) {}

OEdit::OEdit(const std::string& text, const std::string& clipFile, int normal, int highlight, int pressed,
             bool focusable, const std::string& defaultClipFile)
    : OButton(text, clipFile, normal, highlight, pressed, focusable, defaultClipFile) {
    caret_ = NewCaret();
    AddChild(caret_);
}

OGraph* OEdit::Clone() {
    auto* copy = new OEdit(Empty{});
    copy->CopyFrom(this);
    return copy;
}

bool OEdit::CopyFrom(OGraph* source) {
    const bool copied = OButton::CopyFrom(source);
    const auto& children = Children();
    caret_ = children.size() >= 5 ? dynamic_cast<OClip*>(children[4]) : nullptr;
    if (!caret_) {
        caret_ = NewCaret();
        AddChild(caret_);
    }
    if (const auto* from = dynamic_cast<const OEdit*>(source)) cursor_ = from->cursor_;
    dirty_ = true;
    return copied;
}

// The caption becomes a box as high as the text (at most the field's height - 2), as much narrower
// than the field as it is lower, centred; the caret is a bar as high as the text.
void OEdit::AttachToWindow(GraphHost* window) {
    if (IsBeingDestroyed() || window == Window()) return;
    OText* caption = Caption();
    if (GraphHost::Exists(window) && IsLive(caption)) {
        caption->SetAutoSize(true);
        caption->AttachToWindow(window);
        float h = caption->TextHeight();
        if (caption->GetText().empty()) h = static_cast<float>(static_cast<OWindow*>(window)->TextHeight(" ", caption->Font()));
        h = std::max(std::min(h, Height() - 2), 0.0f);
        const float boxWidth = std::max(Width() - (Height() - h), 0.0f);
        caption->SetAutoSize(false);
        caption->SetSize(boxWidth, h, 0);
        caption->Align();
        BuildCaret(static_cast<int>(h));
        SetCursor(static_cast<int>(caption->GetText().size()));
    }
    OButton::AttachToWindow(window);
}

void OEdit::BuildCaret(int height) {
    if (!IsLive(caret_)) {
        caret_ = NewCaret();
        AddChild(caret_);
    }
    caret_->SetVisible(false);
    caret_->Reset();
    // Frame 0 a black bar (key 1 matches no pixel of it), frame 1 the same pixels with key 0: all clear.
    auto* bar = new OBitmap();
    bar->CreateBlank(static_cast<float>(kCaretWidth), static_cast<float>(std::max(height, 0)));
    bar->SetColourKey(1);
    OGraph* gap = bar->Clone();
    caret_->AddChild(bar);
    if (gap) {
        gap->SetColourKey(0);
        caret_->AddChild(gap);
    }
}

void OEdit::SetCursor(int index) {
    OText* caption = Caption();
    if (!IsLive(caption)) return;
    const int length = static_cast<int>(caption->GetText().size());
    cursor_ = std::clamp(index, 0, length);
    const int first = caption->FirstVisible();
    const int last = caption->LastVisible();
    const bool lastFits =
        length == 0 || static_cast<float>(caption->CharGeometry(length - 1).endX) < caption->Width();
    caption->SetFirstVisible(text_geometry::ScrollFor(cursor_, first, last, length, lastFits));
    if (IsLive(caret_)) {
        const OText::CharBox box = caption->CharGeometry(cursor_);
        caret_->SetPosition(static_cast<float>(box.startX) + caption->LocalX(), caption->LocalY(),
                            caption->LocalDepth());
    }
    dirty_ = true;
}

void OEdit::DeleteChar(int index) {
    OText* caption = Caption();
    if (!IsLive(caption)) return;
    std::string text = caption->GetText();
    if (index < 0 || index >= static_cast<int>(text.size())) return;
    if (index < cursor_) SetCursor(index);
    text.erase(static_cast<size_t>(index), 1);
    caption->SetText(text);
    SetCursor(cursor_);
}

void OEdit::OnPress(int code, int x, int y) {
    OText* caption = Caption();
    switch (code) {
        case kLeftButton:
            if (IsLive(caption)) {
                const int local = x - static_cast<int>(caption->LocalX());
                SetCursor(local < 0 ? 0 : caption->CharAt(local));
            }
            break;
        case kBackspace:
            DeleteChar(cursor_ - 1);
            break;
        case kEnd:
            SetCursor(IsLive(caption) ? static_cast<int>(caption->GetText().size()) : 0);
            break;
        case kHome:
            SetCursor(0);
            break;
        case kLeft:
            SetCursor(cursor_ - 1);
            break;
        case kRight:
            SetCursor(cursor_ + 1);
            break;
        case kDelete:
            DeleteChar(cursor_);
            break;
        default:
            break;
    }
    OButton::OnPress(code, x, y);
}

void OEdit::OnChar(uint8_t character) {
    OText* caption = Caption();
    if (character < 32 || !IsLive(caption)) return;
    std::string text = caption->GetText();
    text.insert(static_cast<size_t>(std::clamp(cursor_, 0, static_cast<int>(text.size()))), 1,
                static_cast<char>(character));
    caption->SetText(text);
    SetCursor(cursor_ + 1);
    dirty_ = true;
    UpdateState();
}

void OEdit::UpdateState() {
    if ((dirty_ || StateChanged()) && LiveWindow() && IsLive(caret_)) {
        dirty_ = false;
        if (State() & ControlState::Focused) {
            caret_->PlayFrom(0);
            caret_->SetVisible(true);
        } else {
            caret_->SetVisible(false);
        }
    }
    OButton::UpdateState();
}
