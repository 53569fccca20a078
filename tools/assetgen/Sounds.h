#pragma once
// The game's sounds, synthesised: short (the game plays them synchronously inside a frame step,
// so every millisecond of sound is a millisecond the pond stands still), soft-edged, never clipping.
//
// How long each holds the pond (or the dialog that plays it):
//   heartbeat  0.24 s  every 1.5 s while a heart waits
//   bell       0.24 s  every 1.5 s while the last island waits, and once when it is the last
//   uneat      0.18 s  a sun pushes the frog away
//   eat        0.16 s  a fly or the heart is eaten
//   over       0.045 s holds nothing: buttons play it without waiting
//   sink       0.62 s  the frog drowns; the pond then waits for it to fade anyway
//   gameover   1.45 s  the last frog is lost; the game is over
//   newlevel   1.0 s   the level-completed window opens; the pond is not playing
// The first four come again and again during play, so they stay at a quarter of a second or less.

#include "tools/assetgen/AssetSet.h"

namespace assetgen {

// WAV/over, eat, uneat, sink, bell, heartbeat, gameover, newlevel (.wav).
void AddSounds(AssetSet& assets);

}  // namespace assetgen
