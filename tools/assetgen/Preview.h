#pragma once
// Pictures for looking at the art: contact sheets of clips and a composed pond scene.

#include <string>
#include <utility>
#include <vector>

#include "tools/assetgen/AssetSet.h"

namespace assetgen {

// Every frame of every clip, a row per clip under its name, key pixels shown as a checkerboard.
bool WriteContactSheet(const std::vector<std::pair<std::string, const ClipData*>>& clips, const std::string& path,
                       double scale = 1.0);

// The whole game window as the game composes it: background, pond objects, creatures, ripples
// (at transparency 200), digits and the seven buttons.
bool WritePondScene(const AssetSet& assets, const std::string& path);

// A dialog with its shore frame, two buttons, option switches and score cells.
bool WriteDialogScene(const AssetSet& assets, const std::string& path);

// Sheets and scenes of everything into `folder`.
bool WritePreviews(const AssetSet& assets, const std::string& folder);

}  // namespace assetgen
