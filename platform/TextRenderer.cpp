#include "platform/TextRenderer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

namespace platform {
namespace {

constexpr int kBoldWeight = 600;
constexpr int kMaxHeight = 1000;
constexpr int kMaxCoordinate = 1 << 28;

// A glyph drawn once at one size: its coverage bitmap and where it sits relative to the pen on the
// baseline. Never changed after it is made, so it may be read without the lock.
struct Glyph {
    bool ready = false;
    int advance = 0;
    int left = 0, top = 0;  // bitmap origin: pen x + left, baseline - top
    int width = 0, rows = 0;
    std::vector<uint8_t> coverage;  // width x rows bytes
};

// One face at one size. Faces are shared between sizes through FT_Size objects.
struct Font {
    FT_Face face = nullptr;
    FT_Size size = nullptr;
    int ascent = 0, descent = 0;
    int underlineOffset = 0, underlineThickness = 1;  // below the baseline, in pixels
    bool underline = false;
    std::array<Glyph, 256> glyphs;
};

struct FontKey {
    std::string face;
    bool bold = false;
    bool italic = false;
    int height = 0;
    bool underline = false;
    auto Tie() const { return std::tie(face, bold, italic, height, underline); }
    bool operator<(const FontKey& o) const { return Tie() < o.Tie(); }
};

constexpr std::array<char32_t, 32> k1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Channel bytes of a colour value 0x00BBGGRR in the picture's order: blue, green, red.
std::array<uint8_t, 3> ToBgr(uint32_t colour) {
    return {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
            static_cast<uint8_t>(colour)};
}

TextRect Intersect(const TextRect& a, const TextRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

uint8_t* PixelAt(const TextTarget& t, int x, int y) {
    int row = t.bottomUp ? t.height - 1 - y : y;
    return t.bits + static_cast<ptrdiff_t>(row) * t.stride + static_cast<ptrdiff_t>(x) * 3;
}

void FillBox(const TextTarget& t, const TextRect& box, const std::array<uint8_t, 3>& bgr) {
    for (int y = box.top; y < box.bottom; ++y) {
        uint8_t* p = PixelAt(t, box.left, y);
        for (int x = box.left; x < box.right; ++x, p += 3) std::copy(bgr.begin(), bgr.end(), p);
    }
}

// Mixes the colour into the picture by the glyph's coverage (0 keeps the pixel, 255 replaces it).
void BlendGlyph(const TextTarget& t, const Glyph& g, int originX, int originY, const TextRect& clip,
                const std::array<uint8_t, 3>& bgr) {
    int x0 = std::max(originX, clip.left), x1 = std::min(originX + g.width, clip.right);
    int y0 = std::max(originY, clip.top), y1 = std::min(originY + g.rows, clip.bottom);
    for (int y = y0; y < y1; ++y) {
        const uint8_t* cov = g.coverage.data() + static_cast<size_t>(y - originY) * g.width + (x0 - originX);
        uint8_t* p = PixelAt(t, x0, y);
        for (int x = x0; x < x1; ++x, ++cov, p += 3) {
            unsigned a = *cov;
            if (a == 0) continue;
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<uint8_t>((p[c] * (255 - a) + bgr[c] * a + 127) / 255);
        }
    }
}

}  // namespace

char32_t CodePointOf1252(uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? k1252High[byte - 0x80] : byte;
}

struct TextRenderer::Impl {
    std::mutex mutex;
    FT_Library library = nullptr;
    // A configuration of our own rather than the process-wide default, so that it is released with
    // the renderer (the default one is never freed, and the leak checker rightly complains).
    FcConfig* fontconfig = nullptr;
    std::map<std::pair<std::string, int>, FT_Face> faces;  // by file and face index
    std::map<FontKey, std::unique_ptr<Font>> fonts;

    Impl() {
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
        fontconfig = FcInitLoadConfigAndFonts();
    }
    ~Impl() {
        fonts.clear();
        for (auto& [key, face] : faces) FT_Done_Face(face);  // also frees the face's sizes
        if (library) FT_Done_FreeType(library);
        if (fontconfig) FcConfigDestroy(fontconfig);
    }

    FT_Face OpenFace(const FontKey& key);
    Font* FontFor(const TextStyle& style);
    bool SetUpSize(Font& font, int height);
    const Glyph& GlyphFor(Font& font, uint8_t byte);
};

FT_Face TextRenderer::Impl::OpenFace(const FontKey& key) {
    if (!library || !fontconfig) return nullptr;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(key.face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, key.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, key.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(fontconfig, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(fontconfig, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    FT_Face face = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        auto id = std::make_pair(std::string(reinterpret_cast<const char*>(file)), index);
        auto found = faces.find(id);
        if (found != faces.end()) {
            face = found->second;
        } else if (FT_New_Face(library, id.first.c_str(), index, &face) == 0) {
            faces.emplace(id, face);
        } else {
            std::fprintf(stderr, "text: cannot open font file %s\n", id.first.c_str());
            face = nullptr;
        }
    }
    FcPatternDestroy(match);
    return face;
}

// Scales the face so a positive height is the cell (the face's usWinAscent + usWinDescent), a
// negative one the em; ascent and descent come from those metrics at that scale.
bool TextRenderer::Impl::SetUpSize(Font& font, int height) {
    FT_Face face = font.face;
    double upm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    double winAscent = face->ascender, winDescent = -face->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF) {
        winAscent = os2->usWinAscent;
        winDescent = os2->usWinDescent;
    }
    if (winAscent + winDescent <= 0) return false;
    if (height == 0) height = kDefaultCellHeight;
    double em = 0;
    if (height > 0) {
        em = height * upm / (winAscent + winDescent);
        font.ascent = static_cast<int>(std::lround(height * winAscent / (winAscent + winDescent)));
        font.descent = height - font.ascent;
    } else {
        em = -static_cast<double>(height);
        font.ascent = static_cast<int>(std::lround(winAscent * em / upm));
        font.descent = static_cast<int>(std::lround(winDescent * em / upm));
    }
    auto em26 = static_cast<FT_F26Dot6>(std::lround(std::max(em, 1.0) * 64));
    if (FT_New_Size(face, &font.size) != 0) return false;
    FT_Activate_Size(font.size);
    if (FT_Set_Char_Size(face, 0, em26, 72, 72) != 0) return false;
    font.underlineOffset = std::max(1, static_cast<int>(std::lround(-face->underline_position * em / upm)));
    font.underlineThickness =
        std::max(1, static_cast<int>(std::lround(face->underline_thickness * em / upm)));
    return true;
}

Font* TextRenderer::Impl::FontFor(const TextStyle& style) {
    // Heights beyond any screen are clamped, so a wild value never asks FreeType for huge bitmaps.
    int height = std::clamp(style.height, -kMaxHeight, kMaxHeight);
    FontKey key{style.face, style.weight >= kBoldWeight, style.italic, height, style.underline};
    auto found = fonts.find(key);
    if (found != fonts.end()) return found->second.get();
    auto font = std::make_unique<Font>();
    font->underline = style.underline;
    font->face = OpenFace(key);
    if (!font->face || !SetUpSize(*font, height)) {
        if (font->size) FT_Done_Size(font->size);
        font->size = nullptr;
        font->face = nullptr;
    }
    // A style without a usable face is remembered too, so it is not looked up again on every call.
    return fonts.emplace(key, std::move(font)).first->second.get();
}

const Glyph& TextRenderer::Impl::GlyphFor(Font& font, uint8_t byte) {
    Glyph& glyph = font.glyphs[byte];
    if (glyph.ready) return glyph;
    glyph.ready = true;
    FT_Activate_Size(font.size);
    FT_UInt index = FT_Get_Char_Index(font.face, CodePointOf1252(byte));
    if (FT_Load_Glyph(font.face, index, FT_LOAD_DEFAULT) != 0) return glyph;
    FT_GlyphSlot slot = font.face->glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    for (int r = 0; r < glyph.rows; ++r) {
        const uint8_t* src = bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch;
        std::copy(src, src + glyph.width, glyph.coverage.begin() + static_cast<ptrdiff_t>(r) * glyph.width);
    }
    return glyph;
}

TextRenderer::TextRenderer() : impl_(std::make_unique<Impl>()) {}
TextRenderer::~TextRenderer() = default;

TextRenderer& TextRenderer::Shared() {
    static TextRenderer renderer;
    return renderer;
}

TextSize TextRenderer::Measure(std::string_view text, const TextStyle& style) {
    std::lock_guard lock(impl_->mutex);
    Font* font = impl_->FontFor(style);
    if (!font->face) return {};
    TextSize size{0, font->ascent + font->descent};
    for (char c : text) size.width += impl_->GlyphFor(*font, static_cast<uint8_t>(c)).advance;
    return size;
}

int TextRenderer::Ascent(const TextStyle& style) {
    std::lock_guard lock(impl_->mutex);
    Font* font = impl_->FontFor(style);
    return font->face ? font->ascent : 0;
}

std::string TextRenderer::FamilyName(const TextStyle& style) {
    std::lock_guard lock(impl_->mutex);
    Font* font = impl_->FontFor(style);
    return font->face && font->face->family_name ? font->face->family_name : "";
}

size_t TextRenderer::OpenFaceCount() {
    std::lock_guard lock(impl_->mutex);
    return impl_->faces.size();
}

int TextRenderer::Draw(std::string_view text, const TextStyle& style, const TextTarget& target, int x, int y,
                       const TextRect& clip, uint32_t colour, std::optional<uint32_t> background) {
    // Glyphs are fetched under the lock; they stay valid and unchanged for the renderer's life.
    std::vector<const Glyph*> glyphs;
    glyphs.reserve(text.size());
    Font* font = nullptr;
    {
        std::lock_guard lock(impl_->mutex);
        font = impl_->FontFor(style);
        if (!font->face) return 0;
        for (char c : text) glyphs.push_back(&impl_->GlyphFor(*font, static_cast<uint8_t>(c)));
    }
    int width = 0;
    for (const Glyph* g : glyphs) width += g->advance;
    if (!target.bits || target.width <= 0 || target.height <= 0 || target.stride / 3 < target.width)
        return width;
    // Far outside every picture: nothing to draw, and the pen arithmetic below stays clear of overflow.
    if (std::abs(x) > kMaxCoordinate || std::abs(y) > kMaxCoordinate) return width;

    TextRect area = Intersect(clip, {0, 0, target.width, target.height});
    if (area.left >= area.right || area.top >= area.bottom) return width;
    int cell = font->ascent + font->descent;
    if (background) {
        TextRect box = Intersect(area, {x, y, x + width, y + cell});
        if (box.left < box.right && box.top < box.bottom) FillBox(target, box, ToBgr(*background));
    }
    auto bgr = ToBgr(colour);
    int baseline = y + font->ascent;
    int pen = x;
    for (const Glyph* g : glyphs) {
        if (!g->coverage.empty()) BlendGlyph(target, *g, pen + g->left, baseline - g->top, area, bgr);
        pen += g->advance;
    }
    if (font->underline) {
        int top = baseline + font->underlineOffset - font->underlineThickness / 2;
        TextRect line = Intersect(area, {x, top, x + width, top + font->underlineThickness});
        if (line.left < line.right && line.top < line.bottom) FillBox(target, line, bgr);
    }
    return width;
}

}  // namespace platform
