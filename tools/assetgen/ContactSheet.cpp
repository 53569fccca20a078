#include "tools/assetgen/ContactSheet.h"

#include <algorithm>

#include "tools/assetgen/ArtKit.h"

namespace assetgen {
namespace {

void Checkerboard(cairo_t* cr, double x, double y, double w, double h) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    for (int j = 0; j * 8 < h; ++j)
        for (int i = 0; i * 8 < w; ++i) {
            cairo_rectangle(cr, x + i * 8, y + j * 8, 8, 8);
            SetRgb(cr, (i + j) % 2 ? Rgb{200, 200, 200} : Rgb{150, 150, 150});
            cairo_fill(cr);
        }
    cairo_restore(cr);
}

}  // namespace

bool WriteContactSheet(const std::vector<std::pair<std::string, const ClipData*>>& clips, const std::string& path,
                       double scale) {
    constexpr int kLabel = 110, kGap = 6, kMaxWidth = 1600;
    int width = 0, height = kGap;
    for (const auto& [name, clip] : clips) {
        int x = kLabel, rowH = 0, rowsH = 0;
        for (const ClipFrame& f : clip->frames) {
            const Picture& p = clip->pictures[static_cast<size_t>(f.picture)];
            if (x + p.width * scale > kMaxWidth) {
                rowsH += rowH + kGap;
                x = kLabel;
                rowH = 0;
            }
            x += static_cast<int>(p.width * scale) + kGap;
            rowH = std::max(rowH, static_cast<int>(p.height * scale));
            width = std::max(width, x);
        }
        height += rowsH + rowH + kGap * 2;
    }
    Canvas sheet(std::max(width, kLabel + 10), height);
    cairo_t* cr = sheet.cr();
    SetRgb(cr, Rgb{250, 250, 250});
    cairo_paint(cr);
    int y = kGap;
    for (const auto& [name, clip] : clips) {
        TextAt(cr, name, 6, y + 14, 12, true);
        SetRgb(cr, Rgb{20, 20, 20});
        cairo_fill(cr);
        int x = kLabel, rowH = 0;
        for (const ClipFrame& f : clip->frames) {
            const Picture& p = clip->pictures[static_cast<size_t>(f.picture)];
            const double pw = p.width * scale, ph = p.height * scale;
            if (x + pw > kMaxWidth) {
                y += rowH + kGap;
                x = kLabel;
                rowH = 0;
            }
            Checkerboard(cr, x, y, pw, ph);
            cairo_surface_t* s = PictureToSurface(p, true);
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_scale(cr, scale, scale);
            cairo_set_source_surface(cr, s, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
            cairo_paint(cr);
            cairo_restore(cr);
            cairo_surface_destroy(s);
            x += static_cast<int>(pw) + kGap;
            rowH = std::max(rowH, static_cast<int>(ph));
        }
        y += rowH + kGap * 2;
    }
    return sheet.WritePng(path);
}

}  // namespace assetgen
