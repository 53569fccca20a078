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

// Sheets and scenes of everything into `folder`.
bool WritePreviews(const AssetSet& assets, const std::string& folder);

}  // namespace assetgen
