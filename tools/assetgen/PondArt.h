#pragma once
// The pond itself: leaves, islands, the score digits and the two full-window pictures.

#include <cairo.h>

#include "tools/assetgen/AssetSet.h"

namespace assetgen {

constexpr int kLeafFrames = 16;    // 0 small, 1 opening, 2 fully open, 3-14 sinking, 15 under water
constexpr int kIslandFrames = 12;  // 0 afloat, 1-10 sinking, 11 under water

// 1-leave0 to 4-leave0 and island0.
void AddLeavesAndIslands(AssetSet& assets);

// digits (frames 0-9), CLP/all.bmp, CLP/skin.bmp and the window icon CLP/icon.bmp.
void AddDigits(AssetSet& assets);
void AddBackdrops(AssetSet& assets);

// A fully open leaf of kind 0-3 centred on the origin, for other pictures to reuse.
void DrawLeaf(cairo_t* cr, int kind, double scale);

// Declared here for the interface art and the backdrops: a sitting frog facing up, centred.
void DrawSmallFrog(cairo_t* cr, bool red);

}  // namespace assetgen
