#pragma once
// Pictures for looking at the art: contact sheets of clips and a composed pond scene.

#include <string>
#include <utility>
#include <vector>

#include "tools/assetgen/AssetSet.h"
#include "tools/assetgen/ContactSheet.h"

namespace assetgen {

// The whole game window as the game composes it: background, pond objects, creatures, ripples
// (at transparency 200), digits and the seven buttons.
bool WritePondScene(const AssetSet& assets, const std::string& path);

// A dialog with its shore frame, two buttons, option switches and score cells.
bool WriteDialogScene(const AssetSet& assets, const std::string& path);

// One labelled sheet of the pond's pictures, each clip's pictures in a row at 1x and then the same
// from `doubled` (the set drawn at 2x) at its own size: leaves whole and sinking, islands, suns,
// frogs, flies, the heart, the ripples, the switches, the top-left corner of the window and the
// window icon, every picture on the colour it is mostly seen on. For judging the art by eye.
bool WritePreviewSheet(const AssetSet& normal, const AssetSet& doubled, const std::string& path);

// Sheets and scenes of everything into `folder`.
bool WritePreviews(const AssetSet& assets, const std::string& folder);

}  // namespace assetgen
