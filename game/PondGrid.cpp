#include "game/PondGrid.h"

#include "graphics/OClipBucks.h"

namespace pond {

Geometry Geometry::ForWindow(int32_t width, int32_t height) {
    Geometry g;
    g.windowWidth = width;
    g.windowHeight = height;
    g.pondWidth = width - g.panelWidth - g.leftMargin;
    g.pondHeight = height - g.topMargin - g.bottomMargin;
    return g;
}

Geometry& TheGeometry() {
    static Geometry geometry;
    return geometry;
}

int32_t AnyCellX(int32_t column) {
    const Geometry& g = TheGeometry();
    return column * g.pondWidth / g.columns + g.leftMargin;
}

int32_t AnyCellY(int32_t row) {
    const Geometry& g = TheGeometry();
    return row * g.pondHeight / g.rows + g.topMargin;
}

int32_t CellX(int32_t column) {
    return column < 0 || column >= TheGeometry().columns ? 0 : AnyCellX(column);
}

int32_t CellY(int32_t row) {
    return row < 0 || row >= TheGeometry().rows ? 0 : AnyCellY(row);
}

bool InGrid(int32_t column, int32_t row) {
    const Geometry& g = TheGeometry();
    return column >= 0 && column <= g.columns - 1 && row >= 0 && row <= g.rows - 1;
}

int32_t InPond(int32_t x, int32_t y) {
    const Geometry& g = TheGeometry();
    if (x < g.leftMargin) return 0;
    if (x > CellX(g.columns - 1)) return 2;
    if (y < g.topMargin) return 1;
    if (y > CellY(g.rows - 1)) return 3;
    return kInside;
}

namespace {
// The index k0 from the pixel, then k0, k0 - 1 and k0 + 1 tried in turn within 20 pixels.
template <typename CellOf>
int32_t NearestIndex(int32_t pixel, int32_t margin, int32_t count, int32_t extent, CellOf cellOf) {
    const int32_t k0 = (pixel - margin) * count / extent;
    for (int32_t k : {k0, k0 - 1, k0 + 1}) {
        const int32_t d = pixel - cellOf(k);
        if (d > -20 && d < 20) return k;
    }
    return -1;
}
}  // namespace

void PixelToCell(int32_t x, int32_t y, int32_t& column, int32_t& row) {
    const Geometry& g = TheGeometry();
    column = NearestIndex(x, g.leftMargin, g.columns, g.pondWidth, AnyCellX);
    row = NearestIndex(y, g.topMargin, g.rows, g.pondHeight, AnyCellY);
}

void SetCell(OClipBucks& creature, int32_t column, int32_t row) {
    creature.SetCellFields(column, row);
    creature.PlaceAt(static_cast<float>(CellX(column)), static_cast<float>(CellY(row)));
}

}  // namespace pond
