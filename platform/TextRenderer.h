#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The font of a text operation, as the game describes it. height > 0 is the cell height in pixels
// (ascent + descent from the face's usWinAscent and usWinDescent), height < 0 the em height, 0 a
// default cell of 16 pixels. A weight of 600 or more picks the bold face. Width, escapement and
// orientation are not supported.
inline constexpr int kDefaultCellHeight = 16;  // of a style whose height is 0

struct TextStyle {
    std::string face = "Arial";
    int height = 32;
    int weight = 0;
    bool italic = false;
    bool underline = false;
};

struct TextSize {
    int width = 0;   // sum of the whole-pixel advances, no kerning
    int height = 0;  // the cell height
};

// Rectangle in picture pixels, right and bottom exclusive.
struct TextRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// A 24-bit picture to draw into: 3 bytes per pixel (blue, green, red), `stride` bytes per row.
// With `bottomUp` the first row in memory is the picture's bottom row. The caller owns the bytes.
struct TextTarget {
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    bool bottomUp = true;
};

// Measures and draws single-line text with fontconfig and FreeType, sized by the faces' usWin
// metrics, so the game's layouts, measured in those, come out as laid out. "Arial" resolves to its
// metric-compatible stand-in (Liberation Sans). Text is Windows-1252 bytes. Faces are loaded once
// and kept for the renderer's life, with the glyphs drawn so far.
//
// Thread-safe: one mutex guards fontconfig, FreeType and the caches; the blending into the picture
// runs outside it (cached glyphs never change), so windows drawing text on their own game threads
// only wait for each other while a glyph is rendered for the first time.
class TextRenderer {
  public:
    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // The renderer the program shares between all its windows.
    static TextRenderer& Shared();

    // Width and cell height of `text`; {0, 0} when no face can be found for the style. An empty text
    // has width 0 and the cell height.
    TextSize Measure(std::string_view text, const TextStyle& style);

    // Draws `text` with the top of its cell at `y` (baseline at y + ascent), starting at `x`, in
    // `colour` (0x00BBGGRR), anti-aliased over what the picture holds. With `background` (also
    // 0x00BBGGRR) the cell box from (x, y) to (x + width, y + cell height) is first filled opaque.
    // Nothing is drawn outside `clip` or the picture. Returns the width, as Measure would.
    int Draw(std::string_view text, const TextStyle& style, const TextTarget& target, int x, int y,
             const TextRect& clip, uint32_t colour, std::optional<uint32_t> background = std::nullopt);

    // Ascent in pixels of the style's cell (the distance from its top to the baseline); 0 when no face.
    int Ascent(const TextStyle& style);

    // Family name of the face the style resolves to ("Liberation Sans" for "Arial"); empty when none.
    std::string FamilyName(const TextStyle& style);

    // Number of faces opened so far (one per font file, whatever the sizes used).
    size_t OpenFaceCount();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The Unicode code point of a Windows-1252 byte (the five bytes that code page leaves undefined map
// to themselves).
char32_t CodePointOf1252(uint8_t byte);

}  // namespace platform
