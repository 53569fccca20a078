#include <cmath>

#include "tools/assetgen/ArtKit.h"
#include "tools/assetgen/PondArt.h"

namespace assetgen {
namespace {

void Water(cairo_t* cr, double x, double y, double w, double h, uint32_t seed) {
    cairo_rectangle(cr, x, y, w, h);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    AddStop(g, 0, Rgb{62, 150, 182});
    AddStop(g, 0.5, kWater);
    AddStop(g, 1, Rgb{34, 104, 140});
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);

    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    Lcg rng(seed);
    // The bottom, far below: broad soft shade with no outline, so nothing down there takes a shape
    // that could be read as a leaf or a creature. Everything on the water is the game's.
    for (int i = 0; i < 14; ++i) {
        const double sx = x + rng.Range(0, w), sy = y + rng.Range(0, h), r = rng.Range(30, 70);
        cairo_pattern_t* shade = cairo_pattern_create_radial(sx, sy, 0, sx, sy, r);
        cairo_pattern_add_color_stop_rgba(shade, 0, 20 / 255.0, 70 / 255.0, 90 / 255.0,
                                          rng.Range(0.08, 0.14));
        cairo_pattern_add_color_stop_rgba(shade, 1, 20 / 255.0, 70 / 255.0, 90 / 255.0, 0);
        cairo_set_source(cr, shade);
        cairo_arc(cr, sx, sy, r, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(shade);
    }
    // A few faint reed stems along the banks only, out of the cells' way.
    SetRgb(cr, Rgb{30, 100, 80}, 0.14);
    cairo_set_line_width(cr, 1.4);
    for (int i = 0; i < 10; ++i) {
        const bool left = i % 2 == 0;
        const double bx = left ? x + rng.Range(2, 10) : x + w - rng.Range(2, 10);
        const double by = y + rng.Range(h * 0.15, h), lean = left ? 1 : -1;
        for (int s = 0; s < 3; ++s) {
            cairo_move_to(cr, bx + lean * s * 2.5, by);
            cairo_curve_to(cr, bx + lean * (s * 2.5 + 3), by - 12, bx + lean * (s * 2.5 - 2), by - 22,
                           bx + lean * (s * 2.5 + 2), by - 30 - s * 4);
        }
        cairo_stroke(cr);
    }
    // Light on the surface.
    for (int i = 0; i < 120; ++i) {
        const double lx = x + rng.Range(0, w), ly = y + rng.Range(0, h);
        Ellipse(cr, lx, ly, rng.Range(6, 30), rng.Range(1.0, 2.6));
        SetRgb(cr, Rgb{210, 240, 250}, rng.Range(0.03, 0.08));
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void Moss(cairo_t* cr, double x, double y, double w, double h, uint32_t seed) {
    cairo_rectangle(cr, x, y, w, h);
    cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + w, 0);
    AddStop(g, 0, Rgb{46, 78, 52});
    AddStop(g, 1, Rgb{36, 62, 42});
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    Lcg rng(seed);
    cairo_set_line_width(cr, 1.2);
    for (int i = 0; i < static_cast<int>(w * h / 60); ++i) {
        const double gx = x + rng.Range(0, w), gy = y + rng.Range(0, h);
        cairo_move_to(cr, gx, gy);
        cairo_line_to(cr, gx + rng.Range(-3, 3), gy - rng.Range(3, 8));
        SetRgb(cr, rng.Next() < 0.5 ? Rgb{70, 112, 66} : Rgb{28, 50, 34}, 0.5);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// The frog in the bar's corner, drawn for its size rather than shrunk from the big frog, whose
// spots, toes and thin outlines would melt into a blur at 20 pixels: a few bold shapes with a solid
// dark outline, their edges on whole and half pixels, centred on a pixel corner.
void FrogBadge(cairo_t* cr) {
    const Rgb skin{110, 206, 70}, dark{18, 60, 16}, belly{178, 232, 120};
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // Legs as two bent strokes a side, outlined by drawing them wide in the dark colour first.
    auto legs = [&](double width) {
        for (double m : {-1.0, 1.0}) {
            cairo_move_to(cr, 4 * m, 4);
            cairo_line_to(cr, 10 * m, 7);
            cairo_line_to(cr, 9 * m, 0);
            cairo_move_to(cr, 4 * m, -3);
            cairo_line_to(cr, 8 * m, -6);
            cairo_line_to(cr, 8 * m, -9);
        }
        cairo_set_line_width(cr, width);
        cairo_stroke(cr);
    };
    SetRgb(cr, dark);
    legs(5);
    SetRgb(cr, skin);
    legs(2.6);
    Ellipse(cr, 0, 1, 6.5, 8);
    SetRgb(cr, dark);
    cairo_set_line_width(cr, 2);
    cairo_stroke_preserve(cr);
    SetRgb(cr, skin);
    cairo_fill(cr);
    Ellipse(cr, 0, 3, 2.5, 4);
    SetRgb(cr, belly);
    cairo_fill(cr);
    for (double m : {-1.0, 1.0}) {
        Ellipse(cr, 4 * m, -6, 3, 3);
        SetRgb(cr, dark);
        cairo_fill(cr);
        Ellipse(cr, 4 * m, -6, 2, 2);
        SetRgb(cr, Rgb{240, 206, 60});
        cairo_fill(cr);
        cairo_rectangle(cr, 4 * m - 1, -7, 2, 2);
        SetRgb(cr, Rgb{10, 10, 10});
        cairo_fill(cr);
    }
}

void TopBar(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, 650, 50);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 50);
    AddStop(g, 0, kBarTop);
    AddStop(g, 1, kBarBottom);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_rectangle(cr, 0, 0, 650, 1.5);
    SetRgb(cr, Rgb{120, 160, 110}, 0.6);
    cairo_fill(cr);

    // Recessed slots behind the level digits (x 150-240) and the score digits (x 400-580).
    const double slots[][2] = {{146, 96}, {396, 186}};
    for (const auto& s : slots) {
        RoundedRect(cr, s[0], 1, s[1], 48, 7);
        SetRgb(cr, Rgb{16, 30, 22});
        cairo_fill_preserve(cr);
        SetRgb(cr, Rgb{96, 134, 90});
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    SetRgb(cr, kCream);
    TextAt(cr, "LEVEL", 78, 32, 17, true);
    cairo_fill(cr);
    TextAt(cr, "SCORE", 323, 32, 17, true);
    cairo_fill(cr);

    cairo_save(cr);
    cairo_translate(cr, 30, 25);
    DrawLeaf(cr, 0, 0.6);
    FrogBadge(cr);
    cairo_restore(cr);
}

void PondRim(cairo_t* cr) {
    // Darker water toward the banks, then a muddy edge.
    for (int i = 0; i < 8; ++i) {
        cairo_rectangle(cr, kPondX + i + 0.5, kPondY + i + 0.5, kPondW - 2 * i - 1, kPondH - 2 * i - 1);
        SetRgb(cr, Rgb{10, 40, 50}, 0.09 * (8 - i) / 8);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_rectangle(cr, kPondX - 1.5, kPondY - 1.5, kPondW + 3, kPondH + 3);
    SetRgb(cr, Rgb{120, 100, 64});
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void RightPanel(cairo_t* cr) {
    Moss(cr, 650, 0, 100, 550, 31);
    cairo_rectangle(cr, 650, 0, 1.5, 550);
    SetRgb(cr, Rgb{18, 34, 24});
    cairo_fill(cr);
    cairo_rectangle(cr, 651.5, 0, 1, 550);
    SetRgb(cr, Rgb{100, 140, 96}, 0.6);
    cairo_fill(cr);
    // The bank where the waiting frogs sit.
    cairo_move_to(cr, 653, 550);
    cairo_line_to(cr, 653, 330);
    cairo_curve_to(cr, 680, 300, 720, 306, 750, 318);
    cairo_line_to(cr, 750, 550);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 300, 0, 550);
    AddStop(g, 0, Rgb{92, 140, 70});
    AddStop(g, 1, Rgb{60, 100, 52});
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// The key of a picture read from a bitmap file is its bottom-left pixel: make that the window's
// own background colour and let no other pixel share it, so only that corner pixel is see-through
// and it looks the same either way.
void MakeCornerKeyUnique(Picture& picture) {
    const uint32_t key = KeyValue(kWindowBackground);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (KeyValue(picture.At(x, y)) == key) {
                Rgb c = picture.At(x, y);
                c.b ^= 1;
                picture.Set(x, y, c);
            }
    picture.Set(0, picture.height - 1, kWindowBackground);
    picture.key = key;
}

Picture Background() {
    Canvas canvas(kWindowW, kWindowH);
    cairo_t* cr = canvas.cr();
    Moss(cr, 0, 0, 650, 550, 17);
    Water(cr, kPondX, kPondY, kPondW, kPondH, 5);
    PondRim(cr);
    TopBar(cr);
    RightPanel(cr);
    Picture p = canvas.ToOpaque(kBarBottom);
    MakeCornerKeyUnique(p);
    return p;
}

Picture Skin() {
    Canvas canvas(kWindowW, kWindowH);
    cairo_t* cr = canvas.cr();
    Water(cr, 0, 0, kWindowW, kWindowH, 9);
    const double pads[][4] = {{90, 90, 0, 1.3},   {660, 120, 1, 1.1}, {120, 450, 3, 1.2},
                              {640, 460, 2, 1.4}, {250, 500, 0, 0.8}, {520, 70, 3, 0.9}};
    for (const auto& p : pads) {
        cairo_save(cr);
        cairo_translate(cr, p[0], p[1]);
        DrawLeaf(cr, static_cast<int>(p[2]), p[3]);
        cairo_restore(cr);
    }
    cairo_save(cr);
    cairo_translate(cr, 375, 350);
    DrawLeaf(cr, 0, 2.6);
    cairo_scale(cr, 2.2, 2.2);
    DrawSmallFrog(cr, false);
    cairo_restore(cr);

    CenteredText(cr, "Marshwade", 378, 178, 84, true);
    SetRgb(cr, Rgb{0, 30, 20}, 0.45);
    cairo_fill(cr);
    CenteredText(cr, "Marshwade", 375, 174, 84, true);
    SetRgb(cr, Rgb{22, 70, 30});
    cairo_set_line_width(cr, 8);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 130, 0, 200);
    AddStop(g, 0, Rgb{255, 250, 200});
    AddStop(g, 1, Rgb{170, 230, 90});
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    CenteredText(cr, "Loading...", 375, 520, 20, true);
    SetRgb(cr, kCream);
    cairo_fill(cr);
    Picture p = canvas.ToOpaque(kWater);
    MakeCornerKeyUnique(p);
    return p;
}

Picture Icon() {
    Canvas canvas(64, 64);
    cairo_t* cr = canvas.cr();
    Water(cr, 0, 0, 64, 64, 3);
    cairo_translate(cr, 32, 33);
    DrawLeaf(cr, 0, 0.9);
    cairo_scale(cr, 0.72, 0.72);
    DrawSmallFrog(cr, false);
    return canvas.ToOpaque(kWater);
}

}  // namespace

void AddBackdrops(AssetSet& assets) {
    assets.AddBitmap("CLP/all.bmp", Background());
    assets.AddBitmap("CLP/skin.bmp", Skin());
    assets.AddBitmap("CLP/icon.bmp", Icon());
}

}  // namespace assetgen
