#include "tools/assetgen/Canvas.h"

#include <algorithm>
#include <cmath>

namespace assetgen {
namespace {

// Below this coverage a pixel counts as background: the colour it would add is too faint to see
// and keeping it would only widen the sprite's blended rim.
constexpr uint32_t kMinCoverage = 20;

uint8_t Over(uint32_t premultiplied, uint32_t alpha, uint8_t under) {
    return static_cast<uint8_t>(std::min<uint32_t>(255, premultiplied + ((255 - alpha) * under + 127) / 255));
}

int gDrawingScale = 1;

}  // namespace

int DrawingScale() { return gDrawingScale; }

DrawingScaleScope::DrawingScaleScope(int scale) : previous_(gDrawingScale) { gDrawingScale = scale; }
DrawingScaleScope::~DrawingScaleScope() { gDrawingScale = previous_; }

Canvas::Canvas(int width, int height)
    : width_(width * gDrawingScale),
      height_(height * gDrawingScale),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_)),
      cr_(cairo_create(surface_)) {
    cairo_scale(cr_, gDrawingScale, gDrawingScale);
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

Picture Canvas::ToSprite(Rgb key, Rgb standOn) const {
    cairo_surface_flush(surface_);
    const uint32_t keyValue = KeyValue(key);
    Picture out(width_, height_, keyValue);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < height_; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width_; ++x) {
            const uint32_t px = row[x];
            const uint32_t a = px >> 24;
            if (a < kMinCoverage) {
                out.Set(x, y, key);
                continue;
            }
            Rgb c{Over((px >> 16) & 255, a, standOn.r), Over((px >> 8) & 255, a, standOn.g),
                  Over(px & 255, a, standOn.b)};
            if (KeyValue(c) == keyValue) c.b ^= 1;
            out.Set(x, y, c);
        }
    }
    return out;
}

Picture Canvas::ToOpaque(Rgb under, uint32_t key) const {
    cairo_surface_flush(surface_);
    Picture out(width_, height_, key);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < height_; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width_; ++x) {
            const uint32_t px = row[x];
            const uint32_t a = px >> 24;
            out.Set(x, y,
                    Rgb{Over((px >> 16) & 255, a, under.r), Over((px >> 8) & 255, a, under.g),
                        Over(px & 255, a, under.b)});
        }
    }
    return out;
}

bool Canvas::WritePng(const std::string& path) const {
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* PictureToSurface(const Picture& picture, bool keyTransparent) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < picture.height; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < picture.width; ++x) {
            const Rgb c = picture.At(x, y);
            if (keyTransparent && KeyValue(c) == picture.key) {
                row[x] = 0;
            } else {
                row[x] = 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
            }
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

void SetRgb(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

Rgb Mix(Rgb a, Rgb b, double t) {
    auto m = [t](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(std::lround(x + (static_cast<double>(y) - x) * std::clamp(t, 0.0, 1.0)));
    };
    return Rgb{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

void AddStop(cairo_pattern_t* p, double offset, Rgb c, double alpha) {
    cairo_pattern_add_color_stop_rgba(p, offset, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

}  // namespace assetgen
