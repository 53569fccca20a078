#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/TextRenderer.h"

namespace graphics {

// The font of the window's text operations and of the text objects built on them, in the terms of a
// Windows logical font. Plain data: copy it freely.
struct FontRecord {
    static constexpr size_t kMaxFaceLength = 20;

    std::string face = "Arial";  // only the first kMaxFaceLength characters are used
    uint32_t colour = 0;         // COLORREF 0x00BBGGRR
    int32_t height = 32;         // > 0 cell height, < 0 em height, in pixels
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 0;  // 600 and more is bold (the game uses 800)
    uint8_t italic = 0;
    uint8_t underline = 0;

    std::string_view UsedFace() const { return std::string_view(face).substr(0, kMaxFaceLength); }
};

// The renderer's style for a font record. Width, escapement and orientation have no counterpart: the
// game leaves them 0 (natural width, horizontal text).
inline platform::TextStyle StyleOf(const FontRecord& font) {
    platform::TextStyle style;
    style.face = std::string(font.UsedFace());
    style.height = font.height;
    style.weight = font.weight;
    style.italic = font.italic != 0;
    style.underline = font.underline != 0;
    return style;
}

}  // namespace graphics
