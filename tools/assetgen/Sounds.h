#pragma once
// The game's sounds, synthesised: short (the game plays them synchronously inside a frame step,
// so every millisecond of sound is a millisecond the pond stands still), soft-edged, never clipping.

#include "tools/assetgen/AssetSet.h"

namespace assetgen {

// WAV/over, eat, uneat, sink, bell, heartbeat, gameover, newlevel (.wav).
void AddSounds(AssetSet& assets);

}  // namespace assetgen
