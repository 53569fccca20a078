#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/ArtKit.h"
#include "tools/assetgen/Creatures.h"

namespace assetgen {
namespace {

// Flyers rest on leaves and cross open water; their soft edges are blended toward a colour
// between the two.
constexpr Rgb kFlyerGround{58, 132, 112};

void Wing(cairo_t* cr, double x, double y, double rx, double ry, double angle, Rgb tint, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    Ellipse(cr, 0, -ry, rx, ry);
    SetRgb(cr, tint, alpha);
    cairo_fill_preserve(cr);
    SetRgb(cr, Rgb{60, 70, 90}, 0.75);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, 0, -2 * ry * 0.9);
    SetRgb(cr, Rgb{60, 70, 90}, 0.35);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Legs(cairo_t* cr, double spread, double y0, double y1) {
    SetRgb(cr, Rgb{25, 25, 30});
    cairo_set_line_width(cr, 1.1);
    for (double m : {-1.0, 1.0}) {
        for (int i = 0; i < 3; ++i) {
            const double y = y0 + (y1 - y0) * i / 2.0;
            cairo_move_to(cr, 2 * m, y);
            cairo_line_to(cr, spread * m, y + (i - 1) * 4);
        }
    }
    cairo_stroke(cr);
}

// Housefly: grey body, red eyes, two clear wings.
void DrawHousefly(cairo_t* cr, int frame) {
    const double spread[] = {0.45, 0.85, 1.2, 0.85};
    const double len[] = {13, 11, 8, 11};
    cairo_scale(cr, 1.8, 1.8);
    Legs(cr, 9, -3, 3);
    Ellipse(cr, 0, 8, 6, 8.5);
    SetRgb(cr, Rgb{78, 82, 92});
    cairo_fill(cr);
    for (int i = 0; i < 3; ++i) {
        Ellipse(cr, 0, 5 + 3.2 * i, 5.2 - i, 0.9);
        SetRgb(cr, Rgb{150, 150, 135}, 0.8);
        cairo_fill(cr);
    }
    Ellipse(cr, 0, -2, 5.5, 5.5);
    SetRgb(cr, Rgb{48, 52, 62});
    cairo_fill(cr);
    for (double m : {-1.5, 1.5}) {
        cairo_rectangle(cr, m - 0.6, -6, 1.2, 7);
        SetRgb(cr, Rgb{120, 120, 115}, 0.8);
        cairo_fill(cr);
    }
    for (double m : {-1.0, 1.0})
        Wing(cr, 2.5 * m, 0, 4.5, len[frame] / 2, kPi + m * -spread[frame], Rgb{225, 238, 255}, 0.55);
    Ellipse(cr, 0, -9, 4.8, 3.6);
    SetRgb(cr, Rgb{40, 40, 45});
    cairo_fill(cr);
    for (double m : {-1.0, 1.0}) {
        Ellipse(cr, 2.8 * m, -9.6, 2.9, 3.4);
        SetRgb(cr, Rgb{196, 44, 34});
        cairo_fill(cr);
        Ellipse(cr, 2.3 * m, -10.6, 0.9, 0.9);
        SetRgb(cr, Rgb{255, 200, 190}, 0.9);
        cairo_fill(cr);
    }
}

// Dragonfly: long turquoise body, four long narrow wings.
void DrawDragonfly(cairo_t* cr, int frame) {
    const double sweep = 0.22 * std::sin(frame * kPi / 2);
    const Rgb wingTint{225, 245, 255};
    for (double m : {-1.0, 1.0}) {
        Wing(cr, 2 * m, -6, 3.6, 13, m * (kPi / 2 - 0.12 + sweep), wingTint, 0.45);
        Wing(cr, 2 * m, 0, 4.2, 12, m * (kPi / 2 + 0.18 - sweep), wingTint, 0.45);
    }
    for (int i = 0; i < 8; ++i) {
        Ellipse(cr, 0, 4 + i * 3.6, 2.4 - i * 0.1, 2.1);
        SetRgb(cr, i % 2 ? Rgb{32, 150, 190} : Rgb{52, 190, 220});
        cairo_fill(cr);
    }
    Ellipse(cr, 0, -3, 4.6, 6.2);
    SetRgb(cr, Rgb{40, 130, 110});
    cairo_fill(cr);
    Ellipse(cr, -1.2, -5, 1.5, 3);
    SetRgb(cr, Rgb{140, 220, 190}, 0.7);
    cairo_fill(cr);
    for (double m : {-1.0, 1.0}) {
        Ellipse(cr, 3 * m, -11, 3.6, 3.4);
        SetRgb(cr, Rgb{60, 200, 150});
        cairo_fill(cr);
        Ellipse(cr, 2.4 * m, -12, 1, 1);
        SetRgb(cr, Rgb{230, 255, 240});
        cairo_fill(cr);
    }
}

// Butterfly: blue-violet wings with dark borders and white dots, folding as it beats.
void ButterflyWings(cairo_t* cr, double m) {
    cairo_move_to(cr, m * 1, -3);
    cairo_curve_to(cr, m * 8, -18, m * 22, -20, m * 25, -12);
    cairo_curve_to(cr, m * 27, -4, m * 16, 0, m * 2, 0);
    cairo_close_path(cr);
    cairo_move_to(cr, m * 1, 0);
    cairo_curve_to(cr, m * 14, 1, m * 22, 8, m * 16, 15);
    cairo_curve_to(cr, m * 11, 19, m * 4, 12, m * 1, 5);
    cairo_close_path(cr);
}

void DrawButterfly(cairo_t* cr, int frame) {
    const double fold[] = {1.0, 0.7, 0.38, 0.7};
    cairo_save(cr);
    cairo_scale(cr, fold[frame], 1.0);
    for (double m : {-1.0, 1.0}) {
        ButterflyWings(cr, m);
        cairo_pattern_t* g = cairo_pattern_create_radial(0, -2, 2, 0, -2, 24);
        AddStop(g, 0, Rgb{150, 200, 255});
        AddStop(g, 0.55, Rgb{70, 90, 235});
        AddStop(g, 1, Rgb{40, 20, 120});
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        SetRgb(cr, Rgb{20, 15, 40});
        cairo_set_line_width(cr, 2.2);
        cairo_stroke(cr);
        const double dots[][2] = {{20, -14}, {23, -9}, {15, 12}, {12, -17}};
        for (const auto& d : dots) {
            Ellipse(cr, m * d[0], d[1], 1.3, 1.3);
            SetRgb(cr, Rgb{255, 255, 255}, 0.95);
            cairo_fill(cr);
        }
        Ellipse(cr, m * 12, 6, 3, 2.4);
        SetRgb(cr, Rgb{255, 170, 60}, 0.9);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    Ellipse(cr, 0, 1, 2.2, 11);
    SetRgb(cr, Rgb{30, 25, 30});
    cairo_fill(cr);
    SetRgb(cr, Rgb{30, 25, 30});
    cairo_set_line_width(cr, 1);
    for (double m : {-1.0, 1.0}) {
        cairo_move_to(cr, m * 0.5, -9);
        cairo_curve_to(cr, m * 2, -15, m * 5, -18, m * 6, -20);
        cairo_stroke(cr);
        Ellipse(cr, m * 6, -20, 1.2, 1.2);
        cairo_fill(cr);
    }
}

// Bumblebee: striped yellow and black, small fast wings.
void DrawBee(cairo_t* cr, int frame) {
    const double spread[] = {0.5, 0.9, 1.25, 0.9};
    cairo_scale(cr, 1.6, 1.6);
    Legs(cr, 8, -2, 5);
    for (double m : {-1.0, 1.0})
        Wing(cr, 3 * m, -3, 4.5, 6.5, m * (kPi / 2 + 0.4 - spread[frame]), Rgb{235, 245, 255}, 0.55);
    Ellipse(cr, 0, 7, 7, 9.5);
    SetRgb(cr, Rgb{248, 204, 40});
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    for (int i = 0; i < 3; ++i) {
        cairo_rectangle(cr, -8, 4 + i * 5, 16, 2.4);
        SetRgb(cr, Rgb{30, 24, 16});
        cairo_fill(cr);
    }
    cairo_restore(cr);
    Ellipse(cr, 0, -3, 6, 5);
    SetRgb(cr, Rgb{150, 105, 40});
    cairo_fill(cr);
    Ellipse(cr, -1.5, -4.5, 2.5, 1.6);
    SetRgb(cr, Rgb{230, 190, 90}, 0.7);
    cairo_fill(cr);
    Ellipse(cr, 0, -10, 4.4, 3.4);
    SetRgb(cr, Rgb{28, 24, 20});
    cairo_fill(cr);
    for (double m : {-1.0, 1.0}) {
        Ellipse(cr, 2 * m, -11, 0.8, 0.8);
        SetRgb(cr, Rgb{230, 230, 230});
        cairo_fill(cr);
    }
}

// Both suns are dangers and must read as such at a glance: a scorching face, glaring and angry, in
// a red-hot glare with sharp spikes, never the soft yellow of a pleasant bonus. They differ in the
// spikes only: jagged flames all round, or long and short needles in turn.
enum class RayStyle { Flames, Needles };

struct SunLook {
    Rgb glare, core, mid, rim, ray, rayEdge;
    int rays;
    RayStyle style;
};

constexpr SunLook kOrangeSun{
    {255, 96, 30},  {255, 236, 140}, {255, 150, 30}, {206, 40, 16}, {236, 64, 22}, {120, 14, 8}, 12,
    RayStyle::Flames};
constexpr SunLook kGoldenSun{
    {255, 130, 30}, {255, 248, 170}, {255, 190, 40}, {214, 70, 12}, {250, 120, 20}, {150, 30, 8}, 16,
    RayStyle::Needles};

void SunRays(cairo_t* cr, const SunLook& look, double turn) {
    for (int i = 0; i < look.rays; ++i) {
        const double a = turn + i * 2 * kPi / look.rays;
        cairo_save(cr);
        cairo_rotate(cr, a);
        if (look.style == RayStyle::Needles) {
            // Thin sharp needles, long and short in turn, reaching to the cell's edge.
            const double tip = i % 2 == 0 ? -35 : -27, half = i % 2 == 0 ? 3.0 : 2.4;
            cairo_move_to(cr, -half, -14);
            cairo_line_to(cr, 0, tip);
            cairo_line_to(cr, half, -14);
        } else {
            // A flame licking sideways: a hooked point.
            cairo_move_to(cr, -5, -15);
            cairo_curve_to(cr, -4, -22, 1, -24, 2.5, -32);
            cairo_curve_to(cr, 3, -25, 5, -21, 5, -15);
        }
        cairo_close_path(cr);
        cairo_restore(cr);
    }
    SetRgb(cr, look.ray);
    cairo_fill_preserve(cr);
    SetRgb(cr, look.rayEdge);
    cairo_set_line_width(cr, 1.3);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr);
}

// A burning sun with an angry face that looks the way it flies (up, before rotation).
void DrawSun(cairo_t* cr, const SunLook& look, int frame) {
    // The glare pulses with the frames. It has a clear edge: a glow that faded out to nothing would
    // be blended into one ground colour and show as a disc of that colour wherever the sun stands on
    // another.
    const double glare = 21 + 1.5 * std::sin(frame * kPi / 2);
    cairo_pattern_t* halo = cairo_pattern_create_radial(0, 0, 10, 0, 0, glare);
    AddStop(halo, 0, Mix(look.glare, Rgb{255, 240, 160}, 0.6));
    AddStop(halo, 0.7, look.glare);
    AddStop(halo, 1, Mix(look.glare, look.rim, 0.5));
    cairo_arc(cr, 0, 0, glare, 0, 2 * kPi);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);

    // The spikes turn through one repeat of their pattern in the four frames, so the loop is seamless.
    const int repeat = look.style == RayStyle::Needles ? 2 : 1;
    SunRays(cr, look, frame * (repeat * 2 * kPi / look.rays) / 4);
    cairo_pattern_t* disc = cairo_pattern_create_radial(-3, -4, 1, 0, 0, 14);
    AddStop(disc, 0, look.core);
    AddStop(disc, 0.5, look.mid);
    AddStop(disc, 1, look.rim);
    cairo_arc(cr, 0, 0, 14, 0, 2 * kPi);
    cairo_set_source(cr, disc);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(disc);
    SetRgb(cr, look.rayEdge);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);

    // Narrowed glaring eyes under heavy brows, and a snarl of clenched teeth.
    const Rgb face{80, 10, 4};
    for (double m : {-1.0, 1.0}) {
        cairo_move_to(cr, 8.5 * m, -5.5);
        cairo_line_to(cr, 2 * m, -3.5);
        cairo_line_to(cr, 7 * m, -1.8);
        cairo_close_path(cr);
        SetRgb(cr, Rgb{255, 250, 210});
        cairo_fill_preserve(cr);
        SetRgb(cr, face);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
        Ellipse(cr, 5 * m, -3.4, 1.3, 1.3);
        cairo_fill(cr);
        cairo_move_to(cr, 9.5 * m, -10);
        cairo_line_to(cr, 1.5 * m, -6);
        cairo_set_line_width(cr, 2.4);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
    RoundedRect(cr, -6, 4, 12, 5.5, 2);
    SetRgb(cr, face);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_rectangle(cr, -5, 5.8, 10, 1.8);
    SetRgb(cr, Rgb{255, 250, 220});
    cairo_fill(cr);
    for (double x : {-2.5, 0.0, 2.5}) {
        cairo_move_to(cr, x, 5.6);
        cairo_line_to(cr, x, 7.8);
    }
    SetRgb(cr, face);
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
}

void AddFlyerSet(AssetSet& assets, const std::string& prefix, void (*draw)(cairo_t*, int), float rate) {
    for (int d = 0; d < 4; ++d) {
        auto frames = CellSpriteFrames([&](cairo_t* cr, int f) { draw(cr, f); }, 4, d, kFlyerGround);
        assets.AddClip(prefix + std::to_string(d), ClipData::Sequence(std::move(frames), rate));
    }
}

void HeartPath(cairo_t* cr, double s) {
    cairo_move_to(cr, 0, s * 0.95);
    cairo_curve_to(cr, -s * 1.25, s * 0.1, -s * 1.0, -s * 0.95, 0, -s * 0.38);
    cairo_curve_to(cr, s * 1.0, -s * 0.95, s * 1.25, s * 0.1, 0, s * 0.95);
    cairo_close_path(cr);
}

void DrawHeart(cairo_t* cr, double scale) {
    const double s = 17 * scale;
    cairo_save(cr);
    cairo_translate(cr, 2, 3);
    HeartPath(cr, s);
    SetRgb(cr, Rgb{80, 40, 10}, 0.25);
    cairo_fill(cr);
    cairo_restore(cr);
    HeartPath(cr, s);
    cairo_pattern_t* g = cairo_pattern_create_radial(-s * 0.35, -s * 0.35, 1, 0, 0, s * 1.2);
    AddStop(g, 0, Rgb{255, 150, 160});
    AddStop(g, 0.5, Rgb{228, 30, 60});
    AddStop(g, 1, Rgb{140, 8, 30});
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, Rgb{100, 0, 20});
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    Ellipse(cr, -s * 0.45, -s * 0.45, s * 0.18, s * 0.11);
    SetRgb(cr, Rgb{255, 255, 255}, 0.85);
    cairo_fill(cr);
}

// Rings drawn thick and light: the game shows ripples at transparency 200, so only about a fifth
// of their colour reaches the screen.
void DrawRipple(cairo_t* cr, int frame, int frames) {
    const double t = static_cast<double>(frame) / (frames - 1);
    for (int ring = 0; ring < 2; ++ring) {
        const double r = 6 + 30 * t - ring * 12;
        if (r < 3) continue;
        cairo_arc(cr, 0, 0, r, 0, 2 * kPi);
        SetRgb(cr, Rgb{255, 255, 255});
        cairo_set_line_width(cr, 6.0 - 3.0 * t);
        cairo_stroke(cr);
    }
}

}  // namespace

void AddFlyers(AssetSet& assets) {
    AddFlyerSet(assets, "1-fly", DrawHousefly, 16);
    AddFlyerSet(assets, "2-fly", DrawDragonfly, 12);
    AddFlyerSet(assets, "3-fly", DrawButterfly, 10);
    AddFlyerSet(assets, "4-fly", DrawBee, 16);
    AddFlyerSet(
        assets, "1-sun", [](cairo_t* cr, int f) { DrawSun(cr, kOrangeSun, f); }, 8);
    AddFlyerSet(
        assets, "2-sun", [](cairo_t* cr, int f) { DrawSun(cr, kGoldenSun, f); }, 8);
}

void AddHeartAndRipples(AssetSet& assets) {
    // Lub-dub, then rest: twelve frames at 8 a second make one beat every 1.5 s, the pace at which
    // the game plays the heartbeat sound.
    const double pulse[] = {1.0, 1.14, 1.03, 1.1, 1.0, 0.98, 0.97, 0.97, 0.98, 0.99, 1.0, 1.0};
    std::vector<Picture> hearts;
    for (double p : pulse) hearts.push_back(CellSprite([&](cairo_t* cr) { DrawHeart(cr, p); }, kSand));
    assets.AddClip("heart0", ClipData::Sequence(std::move(hearts), 8));

    constexpr int kRippleFrames = 10;
    std::vector<Picture> rings;
    for (int f = 0; f < kRippleFrames; ++f)
        rings.push_back(CellSprite([&](cairo_t* cr) { DrawRipple(cr, f, kRippleFrames); }, kWater));
    assets.AddClip("waves0", ClipData::Sequence(std::move(rings), 12));
}

}  // namespace assetgen
