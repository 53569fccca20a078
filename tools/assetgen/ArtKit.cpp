#include "tools/assetgen/ArtKit.h"

#include <cmath>

namespace assetgen {

Picture CellSprite(const std::function<void(cairo_t*)>& draw, Rgb standOn, double rotation) {
    Canvas canvas(kCellW, kCellH);
    cairo_t* cr = canvas.cr();
    cairo_translate(cr, kCellCx, kCellCy);
    cairo_rotate(cr, rotation);
    draw(cr);
    return canvas.ToSprite(kSpriteKey, standOn);
}

std::vector<Picture> CellSpriteFrames(const std::function<void(cairo_t*, int frame)>& draw, int frames,
                                      int direction, Rgb standOn) {
    std::vector<Picture> out;
    for (int f = 0; f < frames; ++f) {
        out.push_back(CellSprite([&](cairo_t* cr) { draw(cr, f); }, standOn, direction * kPi / 2));
    }
    return out;
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

static void SelectFace(cairo_t* cr, double size, bool bold) {
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

void CenteredText(cairo_t* cr, const std::string& text, double cx, double cy, double size, bool bold) {
    SelectFace(cr, size, bold);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    // Centre on the advance and on the cap height, so words of different letters sit alike.
    const double capHeight = size * 0.72;
    cairo_move_to(cr, std::round(cx - e.x_advance / 2), std::round(cy + capHeight / 2));
    cairo_text_path(cr, text.c_str());
}

void TextAt(cairo_t* cr, const std::string& text, double x, double baseline, double size, bool bold) {
    SelectFace(cr, size, bold);
    cairo_move_to(cr, x, baseline);
    cairo_text_path(cr, text.c_str());
}

}  // namespace assetgen
