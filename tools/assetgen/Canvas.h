#pragma once
// A Cairo drawing surface with the conversions the game's pictures need.

#include <cairo.h>

#include <string>

#include "tools/assetgen/Picture.h"

namespace assetgen {

// The scale pictures are drawn at. The shapes are drawn in the game's own pixels; a set for a
// screen that shows the game at two or three times its size is drawn from the same shapes at that
// scale, so it is sharp where an enlarged picture would be blocky. Every picture of a set is drawn
// at one scale, so the scale is set once around the whole set rather than passed to every helper.
int DrawingScale();

class DrawingScaleScope {
public:
    explicit DrawingScaleScope(int scale);
    ~DrawingScaleScope();
    DrawingScaleScope(const DrawingScaleScope&) = delete;
    DrawingScaleScope& operator=(const DrawingScaleScope&) = delete;

private:
    int previous_;
};

class Canvas {
public:
    // A transparent ARGB surface of the given size in the game's pixels: DrawingScale() times as
    // many real pixels each way, with the drawing scaled to match. width() and height() are the
    // real size.
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // A sprite: pixels that are (almost) fully transparent become the key colour, the others are
    // composed over `standOn`, the colour the sprite will mostly be drawn on, so that anti-aliased
    // edges blend into it and no key fringe shows. A composed pixel that happens to equal the key
    // is nudged by one step of blue.
    Picture ToSprite(Rgb key, Rgb standOn) const;

    // An opaque picture: every pixel composed over `under`. The key field is set to `key`.
    Picture ToOpaque(Rgb under, uint32_t key = 0) const;

    bool WritePng(const std::string& path) const;

private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// A picture as an ARGB Cairo surface (key pixels transparent when `keyTransparent`); the caller
// destroys the surface.
cairo_surface_t* PictureToSurface(const Picture& picture, bool keyTransparent);

// Colour helpers for drawing.
void SetRgb(cairo_t* cr, Rgb c, double alpha = 1.0);
Rgb Mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b
void AddStop(cairo_pattern_t* p, double offset, Rgb c, double alpha = 1.0);

}  // namespace assetgen
