#include "tools/assetgen/DesktopIcons.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <filesystem>
#include <system_error>

#include "tools/assetgen/ArtKit.h"
#include "tools/assetgen/PondArt.h"

namespace assetgen {
namespace {

// Drawn on a 64-unit square, the size of the window icon the frog and leaf were fitted to.
constexpr double kDesign = 64;

void PondDisc(cairo_t* cr) {
    cairo_arc(cr, 32, 32, 30.5, 0, 2 * kPi);
    cairo_pattern_t* g = cairo_pattern_create_radial(24, 22, 4, 32, 32, 31);
    AddStop(g, 0, Rgb{96, 186, 214});
    AddStop(g, 0.7, kWater);
    AddStop(g, 1, kDeepWater);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    // A dark rim keeps the disc apart from a light panel, a pale one from a dark panel.
    SetRgb(cr, Rgb{18, 60, 84});
    cairo_set_line_width(cr, 2.0);
    cairo_stroke(cr);
    cairo_arc(cr, 32, 32, 28.6, kPi * 1.05, kPi * 1.6);
    SetRgb(cr, Rgb{220, 244, 252}, 0.55);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

// The small sizes show the frog larger on a leaf that fills more of the disc: at 16 pixels the
// frog of the 64-pixel drawing would be a few pixels of green.
void Draw(cairo_t* cr, int pixels) {
    const bool small = pixels > 0 && pixels <= 32;
    cairo_save(cr);
    cairo_scale(cr, (pixels > 0 ? pixels : kDesign) / kDesign, (pixels > 0 ? pixels : kDesign) / kDesign);
    PondDisc(cr);
    cairo_arc(cr, 32, 32, 29.5, 0, 2 * kPi);
    cairo_clip(cr);
    cairo_translate(cr, 32, 33);
    DrawLeaf(cr, 0, small ? 0.74 : 0.68);
    cairo_scale(cr, small ? 0.66 : 0.6, small ? 0.66 : 0.6);
    DrawSmallFrog(cr, false);
    cairo_restore(cr);
}

bool WritePng(const std::string& path, int pixels) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels, pixels);
    cairo_t* cr = cairo_create(surface);
    Draw(cr, pixels);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

bool WriteSvg(const std::string& path) {
    cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), kDesign, kDesign);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(surface);
    Draw(cr, 0);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

bool MakeFolder(const std::filesystem::path& folder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) error = "cannot create " + folder.string() + ": " + ec.message();
    return !ec;
}

}  // namespace

bool WriteDesktopIcons(const std::string& folder, std::string& error) {
    const std::filesystem::path theme = std::filesystem::path(folder) / "hicolor";
    for (int pixels : kDesktopIconSizes) {
        const std::string size = std::to_string(pixels);
        const std::filesystem::path apps = theme / (size + "x" + size) / "apps";
        if (!MakeFolder(apps, error)) return false;
        if (!WritePng((apps / "marshwade.png").string(), pixels)) {
            error = "cannot write " + (apps / "marshwade.png").string();
            return false;
        }
    }
    const std::filesystem::path scalable = theme / "scalable" / "apps";
    if (!MakeFolder(scalable, error)) return false;
    if (!WriteSvg((scalable / "marshwade.svg").string())) {
        error = "cannot write " + (scalable / "marshwade.svg").string();
        return false;
    }
    return true;
}

}  // namespace assetgen
