#pragma once
// The pond's creatures: frogs, flies, suns, the heart and the ripples.

#include "tools/assetgen/AssetSet.h"

namespace assetgen {

// frog0-3 (the player's, green) and 1-enemy0-3 (red): one clip per direction, 0 up, 1 right,
// 2 down, 3 left; frame 0 sits (the game holds it there), the following frames are a hop.
void AddFrogs(AssetSet& assets);

// 1-fly to 4-fly and 1-sun, 2-sun, each 0-3 by direction, with beating wings or turning rays.
void AddFlyers(AssetSet& assets);

// heart0 (a beating loop, frame 0 at rest) and waves0 (expanding rings).
void AddHeartAndRipples(AssetSet& assets);

}  // namespace assetgen
