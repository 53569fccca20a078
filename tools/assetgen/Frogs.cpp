#include <cmath>
#include <vector>

#include "tools/assetgen/ArtKit.h"
#include "tools/assetgen/Creatures.h"
#include "tools/assetgen/PondArt.h"

namespace assetgen {
namespace {

struct FrogLook {
    Rgb skin, dark, spot, belly, iris;
    bool angry;
};

constexpr FrogLook kGreenFrog{{96, 196, 62}, {22, 70, 20}, {52, 130, 40}, {170, 225, 110}, {236, 196, 48}, false};
constexpr FrogLook kRedFrog{{214, 52, 44}, {78, 12, 10}, {140, 24, 22}, {240, 120, 90}, {250, 222, 70}, true};

enum Pose { kSit, kCrouch, kLeap, kLand };

struct Point {
    double x, y;
};

// Left-side limbs facing up (y negative is forward); the right side mirrors them.
struct Limbs {
    Point hip, knee, ankle, toes;  // toes: the direction the foot points
    Point shoulder, elbow, hand, fingers;
    double bodyLength;  // half length of the body
};

Limbs LimbsFor(Pose pose) {
    switch (pose) {
        case kCrouch:
            return {{-9, 9}, {-20, 12}, {-17, 1}, {-0.4, -1}, {-9, -3}, {-14, -5}, {-13, -10}, {-0.3, -1}, 16};
        case kLeap:
            return {{-8, 10}, {-12, 18}, {-10, 24}, {-0.15, 1}, {-9, -5}, {-12, -12}, {-10, -19}, {0, -1}, 19};
        case kLand:
            return {{-9, 10}, {-22, 18}, {-20, 8}, {-0.6, -0.8}, {-9, -4}, {-16, -10}, {-17, -17}, {-0.3, -1}, 18};
        case kSit:
        default:
            return {{-9, 9}, {-22, 15}, {-18, 2}, {-0.35, -1}, {-9, -3}, {-15, -6}, {-14, -12}, {-0.3, -1}, 17};
    }
}

// A webbed foot: toes fanning out from `base` in the direction `dir`, with round pads.
void Foot(cairo_t* cr, Point base, Point dir, double m, double length, int toes, bool outline, const FrogLook& look) {
    const double a = std::atan2(dir.y, dir.x * m);
    const double bx = base.x * m, by = base.y;
    std::vector<Point> tips;
    for (int t = 0; t < toes; ++t) {
        const double ta = a + (t - (toes - 1) / 2.0) * 0.42;
        tips.push_back({bx + std::cos(ta) * length, by + std::sin(ta) * length});
    }
    cairo_move_to(cr, bx, by);
    for (const Point& p : tips) cairo_line_to(cr, p.x, p.y);
    cairo_close_path(cr);
    SetRgb(cr, outline ? look.dark : Mix(look.skin, look.dark, 0.15));
    if (outline) {
        cairo_set_line_width(cr, 2.4);
        cairo_stroke_preserve(cr);
    }
    cairo_fill(cr);
    for (const Point& p : tips) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, p.x, p.y, outline ? 2.6 : 1.6, 0, 2 * kPi);
    }
    SetRgb(cr, outline ? look.dark : look.skin);
    cairo_fill(cr);
}

void Stroke(cairo_t* cr, std::initializer_list<Point> pts, double m, double width) {
    auto it = pts.begin();
    cairo_move_to(cr, it->x * m, it->y);
    for (++it; it != pts.end(); ++it) cairo_line_to(cr, it->x * m, it->y);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void DrawLimbs(cairo_t* cr, const FrogLook& look, const Limbs& l) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const Rgb legSkin = Mix(look.skin, look.dark, 0.12);
    for (double m : {1.0, -1.0}) {
        for (bool outline : {true, false}) {
            const double extra = outline ? 2.6 : 0;
            Foot(cr, l.ankle, l.toes, m, 11, 4, outline, look);
            Foot(cr, l.hand, l.fingers, m, 6, 3, outline, look);
            SetRgb(cr, outline ? look.dark : legSkin);
            Stroke(cr, {l.shoulder, l.elbow, l.hand}, m, 4.5 + extra);
            Stroke(cr, {l.knee, l.ankle}, m, 6.5 + extra);
            Stroke(cr, {l.hip, l.knee}, m, 10 + extra);
        }
        // Dark bands across the thigh, as frogs have.
        for (double t : {0.45, 0.75}) {
            const double x = l.hip.x + (l.knee.x - l.hip.x) * t, y = l.hip.y + (l.knee.y - l.hip.y) * t;
            const double dx = l.knee.x - l.hip.x, dy = l.knee.y - l.hip.y, len = std::hypot(dx, dy);
            cairo_move_to(cr, (x - dy / len * 4) * m, y + dx / len * 4);
            cairo_line_to(cr, (x + dy / len * 4) * m, y - dx / len * 4);
            SetRgb(cr, look.spot);
            cairo_set_line_width(cr, 2.2);
            cairo_stroke(cr);
        }
    }
}

void BodyPath(cairo_t* cr, double bodyLength) {
    Ellipse(cr, 0, 5, 14.5, bodyLength);
    Ellipse(cr, 0, -9, 12.5, 10.5);
}

void DrawEye(cairo_t* cr, const FrogLook& look, double x) {
    Ellipse(cr, x, -14, 5.6, 5.6);
    SetRgb(cr, look.dark);
    cairo_fill(cr);
    Ellipse(cr, x, -14, 4.4, 4.4);
    SetRgb(cr, look.iris);
    cairo_fill(cr);
    Ellipse(cr, x, -14.5, 2.8, 1.6);
    SetRgb(cr, Rgb{10, 10, 10});
    cairo_fill(cr);
    Ellipse(cr, x - 1.5, -16, 1.1, 1.1);
    SetRgb(cr, Rgb{255, 255, 255}, 0.9);
    cairo_fill(cr);
    if (look.angry) {
        // A heavy brow over each eye, slanting down toward the nose.
        const double s = x < 0 ? 1 : -1;
        cairo_move_to(cr, x - 5 * s, -21.5);
        cairo_line_to(cr, x + 5 * s, -18.5);
        SetRgb(cr, look.dark);
        cairo_set_line_width(cr, 2.4);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
}

void DrawFrog(cairo_t* cr, const FrogLook& look, Pose pose) {
    const Limbs limbs = LimbsFor(pose);
    // Scaled to fill the cell the way the leaves do; leaping, the frog reaches forward.
    cairo_scale(cr, 1.18, 1.18);
    if (pose == kLeap) cairo_translate(cr, 0, -2);
    DrawLimbs(cr, look, limbs);
    BodyPath(cr, limbs.bodyLength);
    SetRgb(cr, look.dark);
    cairo_set_line_width(cr, 2.8);
    cairo_stroke(cr);
    BodyPath(cr, limbs.bodyLength);
    SetRgb(cr, look.skin);
    cairo_fill(cr);

    // Back: a paler stripe down the spine and a few darker spots.
    Ellipse(cr, 0, 4, 4.5, limbs.bodyLength - 4);
    SetRgb(cr, look.belly, 0.45);
    cairo_fill(cr);
    const Point spots[] = {{-7, 2}, {7, 6}, {-5, 13}, {6, 15}, {0, -4}};
    for (const Point& s : spots) {
        Ellipse(cr, s.x, s.y * limbs.bodyLength / 17, 2.6, 2.0);
        SetRgb(cr, look.spot, 0.85);
        cairo_fill(cr);
    }
    // Light from the upper left.
    cairo_pattern_t* shine = cairo_pattern_create_radial(-5, -8, 1, -3, -2, 22);
    AddStop(shine, 0, Rgb{255, 255, 255}, 0.38);
    AddStop(shine, 1, Rgb{255, 255, 255}, 0.0);
    BodyPath(cr, limbs.bodyLength);
    cairo_set_source(cr, shine);
    cairo_fill(cr);
    cairo_pattern_destroy(shine);

    for (double n : {-2.5, 2.5}) {
        Ellipse(cr, n, -19, 0.9, 0.7);
        SetRgb(cr, look.dark);
        cairo_fill(cr);
    }
    DrawEye(cr, look, -8);
    DrawEye(cr, look, 8);
}

// Sitting for a while, then one hop: the frames share the sitting picture.
ClipData FrogClip(const FrogLook& look, int direction) {
    const Pose poses[] = {kSit, kCrouch, kLeap, kLand};
    std::vector<Picture> pictures;
    for (Pose p : poses)
        pictures.push_back(CellSprite([&](cairo_t* cr) { DrawFrog(cr, look, p); }, kLeafGround, direction * kPi / 2));
    ClipData clip;
    clip.frameRate = 8;
    clip.pictures = std::move(pictures);
    const int16_t order[] = {0, 0, 0, 0, 1, 2, 3};
    for (int16_t p : order) {
        ClipFrame f;
        f.picture = p;
        clip.frames.push_back(f);
    }
    return clip;
}

}  // namespace

void AddFrogs(AssetSet& assets) {
    for (int d = 0; d < 4; ++d) {
        assets.AddClip("frog" + std::to_string(d), FrogClip(kGreenFrog, d));
        assets.AddClip("1-enemy" + std::to_string(d), FrogClip(kRedFrog, d));
    }
}

// The small frog of the options switches, the icon and the title picture.
void DrawSmallFrog(cairo_t* cr, bool red) { DrawFrog(cr, red ? kRedFrog : kGreenFrog, kSit); }

}  // namespace assetgen
