#pragma once
// Shared geometry, colours and small drawing helpers of the generated art.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/assetgen/Canvas.h"
#include "tools/assetgen/Picture.h"

namespace assetgen {

// A pond cell: creature pictures have their top-left corner at the cell's corner.
constexpr int kCellW = 78;
constexpr int kCellH = 80;
constexpr double kCellCx = kCellW / 2.0;
constexpr double kCellCy = kCellH / 2.0;

constexpr int kWindowW = 750;
constexpr int kWindowH = 550;
constexpr int kPondX = 20, kPondY = 50, kPondW = 630, kPondH = 480;

constexpr double kPi = 3.14159265358979323846;

// Sprites are keyed on magenta, which none of them uses; the dialog shores on the key the dialogs
// set for them.
constexpr Rgb kSpriteKey{255, 0, 255};
constexpr Rgb kShoreKey = FromKeyValue(120034);

constexpr Rgb kWindowBackground{0x43, 0xA7, 0xD0};  // colour of empty window areas and dialogs
constexpr Rgb kWater{48, 128, 160};                   // mid tone of the pond in the background
constexpr Rgb kDeepWater{30, 92, 124};
constexpr Rgb kLeafGround{72, 138, 54};  // what frogs and flies mostly stand on
constexpr Rgb kSand{226, 196, 118};
constexpr Rgb kBarTop{52, 84, 58};
constexpr Rgb kBarBottom{34, 60, 42};
constexpr Rgb kPanel{44, 74, 50};
constexpr Rgb kCream{250, 242, 214};

// A picture of one pond cell, drawn by `draw` with the origin at the cell's centre.
Picture CellSprite(const std::function<void(cairo_t*)>& draw, Rgb standOn, double rotation = 0.0);

// The same drawing rotated for the four directions 0 up, 1 right, 2 down, 3 left (drawn facing up).
std::vector<Picture> CellSpriteFrames(const std::function<void(cairo_t*, int frame)>& draw, int frames,
                                      int direction, Rgb standOn);

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);

// Centred text in the game's sans face ("Liberation Sans", metric twin of Arial).
void CenteredText(cairo_t* cr, const std::string& text, double cx, double cy, double size, bool bold);
void TextAt(cairo_t* cr, const std::string& text, double x, double baseline, double size, bool bold);

// Deterministic pseudo-random numbers for scattered detail: the same picture on every run.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : state_(seed) {}
    double Next() {  // [0, 1)
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) / 16777216.0;
    }
    double Range(double lo, double hi) { return lo + (hi - lo) * Next(); }

private:
    uint32_t state_;
};

}  // namespace assetgen
