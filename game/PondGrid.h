#pragma once
#include <cstdint>

class OClipBucks;

// The pond's grid in window pixels: 8 x 6 cells between a left margin of 20, the digit bar of 50 at
// the top, the panel of 100 on the right and a bottom margin of 20. Positions of creatures on cells
// are the top-left corners of their pictures. The geometry is set once per game window (Reset) and
// read by every rule; like the rest of the game state it is used under the game window's lock.
namespace pond {

struct Geometry {
    int32_t columns = 8;
    int32_t rows = 6;
    int32_t windowWidth = 750;
    int32_t windowHeight = 550;
    int32_t panelWidth = 100;
    int32_t leftMargin = 20;
    int32_t topMargin = 50;
    int32_t bottomMargin = 20;
    int32_t pondWidth = 630;   // window width - panel - left margin
    int32_t pondHeight = 480;  // window height - top and bottom margins

    // The grid of a window of the given size.
    static Geometry ForWindow(int32_t width, int32_t height);
};

Geometry& TheGeometry();

// x of column c and y of row r; 0 for an index off the grid.
int32_t CellX(int32_t column);
int32_t CellY(int32_t row);
// The same formula for any index, on the grid or not (PixelToCell looks one cell beyond).
int32_t AnyCellX(int32_t column);
int32_t AnyCellY(int32_t row);

bool InGrid(int32_t column, int32_t row);
// kInside when (x, y) is in the pond, else the side it is out on: 0 left, 2 right, 1 top, 3 bottom.
constexpr int32_t kInside = -1;
int32_t InPond(int32_t x, int32_t y);
// The cell whose corner lies within 20 pixels of (x, y) in each axis; -1 for an axis without one.
void PixelToCell(int32_t x, int32_t y, int32_t& column, int32_t& row);

// Puts the creature's cell fields to (column, row) and every clip at that cell's corner.
void SetCell(OClipBucks& creature, int32_t column, int32_t row);

}  // namespace pond
