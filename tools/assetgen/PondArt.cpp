#include "tools/assetgen/PondArt.h"

#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/ArtKit.h"

namespace assetgen {
namespace {

constexpr double kLeafRadius = 33;

void NotchedPad(cairo_t* cr, double r, double notchAngle) {
    const double half = 0.26;
    cairo_move_to(cr, 0, 0);
    cairo_arc(cr, 0, 0, r, notchAngle + half, notchAngle - half + 2 * kPi);
    cairo_close_path(cr);
}

void HeartLeafPath(cairo_t* cr, double r) {
    const double s = r / 33.0;
    cairo_move_to(cr, 0, -22 * s);
    cairo_curve_to(cr, 10 * s, -36 * s, 36 * s, -26 * s, 32 * s, 0);
    cairo_curve_to(cr, 29 * s, 21 * s, 11 * s, 32 * s, 0, 34 * s);
    cairo_curve_to(cr, -11 * s, 32 * s, -29 * s, 21 * s, -32 * s, 0);
    cairo_curve_to(cr, -36 * s, -26 * s, -10 * s, -36 * s, 0, -22 * s);
    cairo_close_path(cr);
}

void LeafShape(cairo_t* cr, int kind, double r) {
    switch (kind) {
        case 0:
            NotchedPad(cr, r, -kPi / 4);
            break;
        case 1:
            cairo_arc(cr, 0, 0, r * 0.95, 0, 2 * kPi);
            break;
        case 2:
            NotchedPad(cr, r, 3 * kPi / 4);
            break;
        default:
            HeartLeafPath(cr, r);
            break;
    }
}

struct LeafColours {
    Rgb centre, body, rim, vein;
};

// Greens of living leaves, a little quieter than the frog: the leaves are the ground the creatures
// stand on and must not compete with them. A whole leaf is lit and dry, so every kind keeps clear
// of the water's blue-teal: a leaf near the water's hue reads as one already going under. No red
// anywhere, which belongs to the red frogs.
constexpr LeafColours kLeafColours[4] = {
    {{128, 186, 90}, {74, 144, 60}, {34, 86, 36}, {150, 200, 118}},
    {{104, 160, 78}, {62, 124, 56}, {26, 70, 32}, {122, 174, 96}},
    {{176, 204, 108}, {130, 172, 78}, {76, 112, 44}, {194, 216, 146}},
    {{150, 208, 100}, {96, 170, 62}, {38, 98, 34}, {178, 224, 136}},
};

void Veins(cairo_t* cr, int kind, double r, const LeafColours& c) {
    SetRgb(cr, c.vein, 0.4);
    cairo_set_line_width(cr, 1.1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (kind == 3) {
        cairo_move_to(cr, 0, -20 * r / 33);
        cairo_line_to(cr, 0, 30 * r / 33);
        for (int i = 0; i < 4; ++i) {
            const double y = (-12 + i * 10) * r / 33;
            for (double m : {-1.0, 1.0}) {
                cairo_move_to(cr, 0, y);
                cairo_curve_to(cr, m * 8 * r / 33, y - 2, m * 18 * r / 33, y + 2, m * 24 * r / 33,
                               y + 8 * r / 33);
            }
        }
        cairo_stroke(cr);
        return;
    }
    const double notch = kind == 0 ? -kPi / 4 : (kind == 2 ? 3 * kPi / 4 : 100);
    const int count = kind == 1 ? 16 : 14;
    for (int i = 0; i < count; ++i) {
        const double a = notch + 0.45 + i * (2 * kPi - 0.9) / (count - 1);
        cairo_move_to(cr, std::cos(a) * r * 0.12, std::sin(a) * r * 0.12);
        cairo_line_to(cr, std::cos(a) * r * 0.9, std::sin(a) * r * 0.9);
    }
    cairo_stroke(cr);
}

void Flower(cairo_t* cr, double cx, double cy, double s) {
    for (int i = 0; i < 8; ++i) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, i * kPi / 4 + 0.2);
        Ellipse(cr, 0, -5 * s, 2.6 * s, 5 * s);
        SetRgb(cr, Rgb{252, 214, 230});
        cairo_fill_preserve(cr);
        SetRgb(cr, Rgb{196, 150, 176});  // a soft outline: a vivid pink rim would read as red
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    Ellipse(cr, cx, cy, 2.8 * s, 2.8 * s);
    SetRgb(cr, Rgb{250, 210, 60});
    cairo_fill(cr);
}

void Speckles(cairo_t* cr, double r) {
    Lcg rng(7);
    for (int i = 0; i < 14; ++i) {
        const double a = rng.Range(0, 2 * kPi), d = rng.Range(0.25, 0.8) * r;
        Ellipse(cr, std::cos(a) * d, std::sin(a) * d + 4, rng.Range(1, 2.2), rng.Range(0.8, 1.6));
        SetRgb(cr, Rgb{60, 84, 52}, 0.45);
        cairo_fill(cr);
    }
}

// `afloat`: a whole leaf lying on the water, with a shadow under it and a lit rim; a sinking one
// has neither, being in the water rather than on it.
void DrawOpenLeaf(cairo_t* cr, int kind, double r, bool afloat = true) {
    const LeafColours& c = kLeafColours[kind];
    if (afloat) {
        cairo_save(cr);
        cairo_translate(cr, 2, 3);
        LeafShape(cr, kind, r);
        SetRgb(cr, Rgb{0, 20, 30}, 0.32);
        cairo_fill(cr);
        cairo_restore(cr);
    }

    LeafShape(cr, kind, r);
    cairo_pattern_t* g = cairo_pattern_create_radial(-r * 0.2, -r * 0.25, r * 0.1, 0, 0, r);
    AddStop(g, 0, c.centre);
    AddStop(g, 0.75, c.body);
    AddStop(g, 1, Mix(c.body, c.rim, 0.6));
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, c.rim);
    cairo_set_line_width(cr, kind == 1 ? 1.2 : 1.5);
    cairo_stroke(cr);
    Veins(cr, kind, r, c);
    if (kind == 1) {
        // A raised rim catching the light: a paler green, never the red of the red frogs.
        cairo_arc(cr, 0, 0, r * 0.95 - 2.2, 0, 2 * kPi);
        SetRgb(cr, Rgb{128, 160, 80});
        cairo_set_line_width(cr, 3.6);
        cairo_stroke(cr);
        cairo_arc(cr, 0, 0, r * 0.95 - 4.6, 0, 2 * kPi);
        SetRgb(cr, Rgb{160, 200, 126}, 0.5);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    }
    if (kind == 2) Flower(cr, -r * 0.52, -r * 0.34, r / 33);
    if (kind == 3) Speckles(cr, r);
    if (afloat) {
        // Sunlight along the upper-left edge, inside the rim: dry and above the water.
        cairo_save(cr);
        LeafShape(cr, kind, r);
        cairo_clip(cr);
        cairo_pattern_t* light = cairo_pattern_create_linear(-r, -r, r * 0.2, r * 0.2);
        AddStop(light, 0, Rgb{255, 255, 220}, 0.5);
        AddStop(light, 1, Rgb{255, 255, 220}, 0.0);
        cairo_set_source(cr, light);
        LeafShape(cr, kind, r);
        cairo_set_line_width(cr, 3.0);
        cairo_stroke(cr);
        cairo_pattern_destroy(light);
        cairo_restore(cr);
    }
}

// Sinking: the leaf has dropped into the water (no shadow, a little lower and smaller than a whole
// one), tilts under from one side, and fades into the water over the frames, so that even its first
// sinking frame is told from a whole leaf at a glance. What is under the water line takes the
// water's colour.
void DrawSinkingLeaf(cairo_t* cr, int kind, double sink, double waterAngle, double radius) {
    const double r = radius * (0.94 - 0.12 * sink);
    cairo_push_group(cr);
    cairo_translate(cr, 0, 2 + 3 * sink);
    DrawOpenLeaf(cr, kind, r, false);
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    SetRgb(cr, kDeepWater, 0.32 + 0.3 * sink);
    cairo_paint(cr);
    cairo_rotate(cr, waterAngle);
    const double line = r * (0.9 - 1.9 * sink);
    cairo_rectangle(cr, -60, line, 120, 120);
    SetRgb(cr, kWater, 0.62);
    cairo_fill(cr);
    cairo_rectangle(cr, -60, line - 1.2, 120, 2.4);
    SetRgb(cr, Rgb{200, 235, 245}, 0.35);
    cairo_fill(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.82 - 0.5 * sink);
}

void Bubbles(cairo_t* cr, double spread) {
    const double pts[][3] = {{-8, -4, 2.6}, {6, 5, 2.0}, {2, -12, 1.6}, {-3, 11, 1.4}};
    for (const auto& p : pts) {
        cairo_arc(cr, p[0] * spread, p[1] * spread, p[2], 0, 2 * kPi);
        SetRgb(cr, Rgb{220, 245, 255}, 0.75);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
    }
}

// Gone under: nothing left on the surface but a few rising bubbles.
void DrawUnderWater(cairo_t* cr, double spread) {
    Bubbles(cr, spread);
}

Picture LeafFrame(int kind, int frame) {
    const double waterAngle = (kind * 0.9) - kPi / 4;  // each kind goes under from its own side
    return CellSprite(
        [&](cairo_t* cr) {
            if (frame == 0) return DrawOpenLeaf(cr, kind, kLeafRadius * 0.42);
            if (frame == 1) return DrawOpenLeaf(cr, kind, kLeafRadius * 0.72);
            if (frame == 2) return DrawOpenLeaf(cr, kind, kLeafRadius);
            if (frame == kLeafFrames - 1) return DrawUnderWater(cr, 1.3);
            const double sink = (frame - 2) / static_cast<double>(kLeafFrames - 4);
            DrawSinkingLeaf(cr, kind, sink, waterAngle, kLeafRadius);
        },
        kWater);
}

void IslandPath(cairo_t* cr, double r) {
    for (int i = 0; i <= 72; ++i) {
        const double a = i * 2 * kPi / 72;
        const double k = 1 + 0.07 * std::sin(3 * a + 0.5) + 0.05 * std::sin(5 * a + 2);
        const double x = std::cos(a) * r * k * 1.04, y = std::sin(a) * r * k * 0.96;
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

void IslandDetails(cairo_t* cr, double r) {
    const double s = r / 35;
    const double pebbles[][4] = {{-16, -10, 3, 2.2}, {-12, -14, 2, 1.6}, {14, 12, 3.2, 2.4},
                                 {18, 6, 2, 1.5},    {-6, 18, 2.4, 1.8}, {20, -14, 1.8, 1.4}};
    for (const auto& p : pebbles) {
        Ellipse(cr, p[0] * s, p[1] * s, p[2] * s, p[3] * s);
        SetRgb(cr, Rgb{150, 140, 126});
        cairo_fill_preserve(cr);
        SetRgb(cr, Rgb{96, 88, 78});
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
    // A tuft of grass and a shell.
    SetRgb(cr, Rgb{70, 140, 50});
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 6; ++i) {
        const double bx = (4 + i * 2.2) * s, by = -6 * s;
        cairo_move_to(cr, bx, by);
        cairo_line_to(cr, bx + (i - 2.5) * 2.2 * s, by - (9 + (i % 3) * 3) * s);
    }
    cairo_stroke(cr);
    Ellipse(cr, -8 * s, 6 * s, 4 * s, 3 * s);
    SetRgb(cr, Rgb{250, 232, 220});
    cairo_fill_preserve(cr);
    SetRgb(cr, Rgb{200, 150, 130});
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
}

void DrawIsland(cairo_t* cr, double sink) {
    // The island keeps most of its size while it sinks and shows the water rising over it instead:
    // a frog sitting on it (the frogs arrive on an island already half sunk) must still be seen to
    // stand on something.
    const double r = 34 * (1 - 0.3 * sink * sink);
    cairo_save(cr);
    cairo_scale(cr, 1.13, 1.13);
    IslandPath(cr, r);
    cairo_restore(cr);
    SetRgb(cr, Rgb{120, 200, 206}, 0.65);
    cairo_fill(cr);

    cairo_push_group(cr);
    IslandPath(cr, r);
    cairo_pattern_t* g = cairo_pattern_create_radial(-r * 0.25, -r * 0.3, 2, 0, 0, r * 1.05);
    AddStop(g, 0, Rgb{252, 234, 164});
    AddStop(g, 0.6, kSand);
    AddStop(g, 1, Rgb{190, 150, 80});
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, Rgb{150, 118, 64});
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
    IslandDetails(cr, r);
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    SetRgb(cr, Rgb{120, 96, 60}, 0.45 * sink);  // wet sand
    cairo_paint(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
}

Picture IslandFrame(int frame) {
    return CellSprite(
        [&](cairo_t* cr) {
            if (frame == kIslandFrames - 1) return DrawUnderWater(cr, 1.0);
            DrawIsland(cr, frame / static_cast<double>(kIslandFrames - 1));
        },
        kWater);
}

void DrawDigit(cairo_t* cr, int digit) {
    RoundedRect(cr, 1, 1, 26, 42, 5);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 44);
    AddStop(g, 0, Rgb{14, 28, 20});
    AddStop(g, 1, Rgb{28, 48, 34});
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, Rgb{110, 150, 100});
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    const std::string text(1, static_cast<char>('0' + digit));
    CenteredText(cr, text, 14, 22, 32, true);
    SetRgb(cr, Rgb{255, 190, 60}, 0.35);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    SetRgb(cr, Rgb{255, 230, 120});
    cairo_fill(cr);
}

}  // namespace

void DrawLeaf(cairo_t* cr, int kind, double scale) {
    DrawOpenLeaf(cr, kind, kLeafRadius * scale);
}

void AddLeavesAndIslands(AssetSet& assets) {
    for (int kind = 0; kind < 4; ++kind) {
        std::vector<Picture> frames;
        for (int f = 0; f < kLeafFrames; ++f) frames.push_back(LeafFrame(kind, f));
        assets.AddClip(std::to_string(kind + 1) + "-leave0", ClipData::Sequence(std::move(frames), 4));
    }
    std::vector<Picture> island;
    for (int f = 0; f < kIslandFrames; ++f) island.push_back(IslandFrame(f));
    assets.AddClip("island0", ClipData::Sequence(std::move(island), 4));
}

void AddDigits(AssetSet& assets) {
    std::vector<Picture> digits;
    for (int d = 0; d < 10; ++d) {
        Canvas canvas(28, 44);
        DrawDigit(canvas.cr(), d);
        digits.push_back(canvas.ToSprite(kSpriteKey, kBarBottom));
    }
    // The game picks each digit's frame itself: every frame holds. A clip shows a newly picked frame
    // at its next advance, so the rate of 50 lets a changed score show at the next frame step.
    ClipData clip = ClipData::Sequence(std::move(digits), 50);
    for (ClipFrame& f : clip.frames) f.commands = {kHold};
    assets.AddClip("digits", std::move(clip));
}

}  // namespace assetgen
