#pragma once
#include <cstdint>
#include <string>

class OWindow;

// One picture of a dialog's frame (a shore or a border line): loaded from its clip file and added to
// `window` once at (x, y, depth) with the colour key; a piece that does not load is left out, and
// the dialog opens without it. With `fromBottom`, the piece's bottom edge lies on the window's.
// Returns whether the piece was added. Main thread, while the dialog is being built.
bool AddFramePiece(OWindow& window, const std::string& clipFile, float x, float y, float depth, uint32_t key,
                   bool fromBottom = false);
