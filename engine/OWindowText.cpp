// The text side of OWindow: measuring and drawing single lines into the window's picture. Faces come
// from the shared renderer, which loads each once; the font record only chooses among them.
#include <algorithm>
#include <cstdint>
#include <mutex>

#include "engine/OWindow.h"
#include "graphics/FontRecord.h"
#include "platform/TextRenderer.h"

namespace {

// 255 minus each of red, green and blue.
uint32_t Inverse(uint32_t colour) {
    return ~colour & 0xFFFFFFu;
}

}  // namespace

int OWindow::TextWidth(std::string_view text, const graphics::FontRecord& font) {
    return platform::TextRenderer::Shared().Measure(text, graphics::StyleOf(font)).width;
}

int OWindow::TextHeight(std::string_view text, const graphics::FontRecord& font) {
    return platform::TextRenderer::Shared().Measure(text, graphics::StyleOf(font)).height;
}

void OWindow::DrawText(std::string_view text, const graphics::FontRecord& font, int x, int y,
                       const ORect& clip, int selectionA, int selectionB) {
    if (text.empty()) return;
    std::lock_guard lock(mutex_);
    if (!picture_) return;
    // Both ends are clamped to the text, so equal ends select nothing wherever they lie (a caret
    // past the last character must not show that character inverted).
    const int length = static_cast<int>(std::min<size_t>(text.size(), INT32_MAX));
    const int start = std::clamp(std::min(selectionA, selectionB), 0, length);
    const int end = std::clamp(std::max(selectionA, selectionB), 0, length);

    platform::TextRenderer& renderer = platform::TextRenderer::Shared();
    // At a detail the text is set in a font that many times the size, at the same places: as sharp
    // as the art round it. Its widths may differ from the logical ones by a pixel or so; the clip
    // keeps it inside its control.
    const int d = detail_;
    platform::TextStyle style = graphics::StyleOf(font);
    if (d > 1) style.height = (style.height == 0 ? platform::kDefaultCellHeight : style.height) * d;
    const platform::TextTarget target{picture_->Bits(), picture_->Width(), picture_->Height(),
                                      picture_->Stride(), true};
    const platform::TextRect area{clip.left * d, clip.top * d, clip.right * d, clip.bottom * d};
    x *= d;
    y *= d;
    const uint32_t colour = font.colour & 0xFFFFFFu;

    const std::string_view parts[3] = {
        text.substr(0, static_cast<size_t>(start)),
        text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)),
        text.substr(static_cast<size_t>(end))};
    int pen = x;
    for (int i = 0; i < 3; ++i) {
        if (parts[i].empty() || renderer.Measure(parts[i], style).width <= 0) continue;
        if (i == 1)
            pen += renderer.Draw(parts[i], style, target, pen, y, area, Inverse(colour), colour);
        else
            pen += renderer.Draw(parts[i], style, target, pen, y, area, colour);
    }
}
