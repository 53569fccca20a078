#pragma once
// A contact sheet: every frame of every clip, a row per clip under its name, key pixels shown as a
// checkerboard, written as a PNG.

#include <string>
#include <utility>
#include <vector>

#include "tools/assetgen/ClipWriter.h"

namespace assetgen {

bool WriteContactSheet(const std::vector<std::pair<std::string, const ClipData*>>& clips, const std::string& path,
                       double scale = 1.0);

}  // namespace assetgen
