#pragma once
// The interface pictures: buttons with their words, check boxes, edit fields, score cells, the
// score-table title and the shore and border pieces of the dialog frames.

#include "tools/assetgen/AssetSet.h"

namespace assetgen {

void AddButtons(AssetSet& assets);
void AddControls(AssetSet& assets);
void AddDialogFrames(AssetSet& assets);

}  // namespace assetgen
