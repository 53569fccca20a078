#include "ui/OText.h"

#include <algorithm>

#include "engine/OWindow.h"
#include "graphics/LiveSet.h"
#include "graphics/OGraphNotify.h"
#include "ui/TextGeometry.h"

OText::OText(const std::string& text) {
    SetText(text);
}

void OText::SetText(const std::string& text) {
    const bool wasVisible = IsVisible();
    if (wasVisible) SetVisible(false);
    text_ = text;
    // A text that became shorter than its scroll would show nothing at all: keep its last character.
    const int length = static_cast<int>(text_.size());
    if (firstVisible_ >= length) firstVisible_ = std::max(length - 1, 0);
    Measure();
    if (autoSize_) FitToText();
    if (wasVisible) SetVisible(true);
}

void OText::Measure() {
    OWindow* w = WindowOf(this);
    if (w) {
        textWidth_ = static_cast<float>(w->TextWidth(text_, font_));
        textHeight_ = static_cast<float>(w->TextHeight(text_, font_));
    } else {
        textWidth_ = Width();
        textHeight_ = Height();
    }
}

void OText::SetFont(const graphics::FontRecord& font) {
    const bool wasVisible = IsVisible();
    if (wasVisible) SetVisible(false);
    font_ = font;
    Measure();
    if (autoSize_) FitToText();
    if (wasVisible) SetVisible(true);
}

void OText::FitToText() {
    OBitmap::SetSize(textWidth_, textHeight_, 0);
}

void OText::Reset() {
    OBitmap::Reset();
    text_.clear();
    textWidth_ = 0;
    textHeight_ = 0;
}

void OText::AttachToWindow(GraphHost* window) {
    OGraph::AttachToWindow(window);
    Measure();
    if (autoSize_) FitToText();
    Align();
    // A hidden text is not in the scene; reporting it shown would only enter it there.
    if (Window() && IsVisible()) Report();
}

void OText::Report() {
    bool handled = false;
    NotifyChange(this, handled, kNotifyShown, nullptr);
}

OGraph* OText::Clone() {
    auto* copy = new OText();
    copy->CopyFrom(this);
    return copy;
}

bool OText::CopyFrom(OGraph* source) {
    if (!OBitmap::CopyFrom(source)) return false;
    const auto* from = dynamic_cast<const OText*>(source);
    if (!from) return true;
    autoSize_ = from->autoSize_;
    font_ = from->font_;
    text_ = from->text_;
    // The measured size goes with the text, so an unattached copy already has its size.
    textWidth_ = from->textWidth_;
    textHeight_ = from->textHeight_;
    OBitmap::SetSize(from->Width(), from->Height(), from->DepthExtent());
    return true;
}

void OText::SetSize(float width, float height, float depthExtent) {
    if (autoSize_) {
        width = textWidth_;
        height = textHeight_;
    }
    OBitmap::SetSize(width, height, depthExtent);
}

void OText::Draw(const ORect* rect) {
    OWindow* w = WindowOf(this);
    if (!IsVisible() || !w) return;
    ORect area = Bounds();
    if (rect && !IntersectRect(*rect, Bounds(), area)) return;
    const int length = static_cast<int>(text_.size());
    if (text_.empty() || firstVisible_ < 0 || firstVisible_ >= length) return;
    const std::string_view shown = std::string_view(text_).substr(static_cast<size_t>(firstVisible_));
    w->DrawText(shown, font_, static_cast<int>(X()), static_cast<int>(Y()), area,
                std::max(selStart_ - firstVisible_, 0), std::max(selEnd_ - firstVisible_, 0));
}

std::vector<int> OText::PrefixWidths() {
    std::vector<int> prefix;
    OWindow* w = WindowOf(this);
    if (!w) return prefix;
    prefix.reserve(text_.size() + 1);
    const std::string_view text(text_);
    for (size_t n = 0; n <= text.size(); ++n)
        prefix.push_back(n == 0 ? 0 : w->TextWidth(text.substr(0, n), font_));
    return prefix;
}

OText::CharBox OText::CharGeometry(int index) {
    CharBox box;
    box.bottom = static_cast<int>(Height());
    if (index < 0 || text_.empty() || !Window()) return box;
    const std::vector<int> prefix = PrefixWidths();
    const text_geometry::CharSpan span = text_geometry::Span(prefix, firstVisible_, index);
    box.startX = span.startX;
    box.endX = span.endX;
    return box;
}

int OText::CharAt(int x) {
    if (!Window() || text_.empty() || x < 0) return 0;
    return text_geometry::CharAt(PrefixWidths(), firstVisible_, x);
}

int OText::LastVisible() {
    if (!Window() || text_.empty()) return 0;
    return text_geometry::LastVisible(PrefixWidths(), firstVisible_, Width());
}

void OText::SetFirstVisible(int index) {
    const int length = static_cast<int>(text_.size());
    if (!Window() || index < 0 || index >= length || index == firstVisible_) return;
    const bool wasVisible = IsVisible();
    if (wasVisible) SetVisible(false);
    firstVisible_ = index;
    if (wasVisible) SetVisible(true);
}

void OText::SetSelection(int a, int b) {
    selStart_ = a;
    selEnd_ = b;
    if (IsVisible() && Window()) Report();
}
