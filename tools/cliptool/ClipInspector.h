#pragma once
// `cliptool info` and `cliptool render`: a clip file or a Windows bitmap file read through the game's
// own loaders, so what is printed and drawn is exactly what the game will see.

#include <string>

#include "graphics/Picture.h"
#include "tools/assetgen/Picture.h"

namespace cliptool {

// A readable account of the file: for a clip its header, pictures, frames and their commands; for a
// bitmap its size, depth and colour key. False, with the loader's reason in `error`, when the game
// would refuse the file.
bool DescribeFile(const std::string& path, std::string& text, std::string& error);

// Every picture the file shows (one per frame of a clip) on a contact sheet written as a PNG.
bool RenderFile(const std::string& path, const std::string& pngPath, std::string& error);

// The colour key the game uses for a picture read from a bitmap file: its first pixel in memory,
// masked to the pixel depth.
uint32_t KeyFromFirstPixel(const graphics::Picture& picture);

// A loaded picture as top-down 24-bit pixels with its key, for drawing. Pixels of 8 bits show as
// grey, of 16 bits as 5-6-5 colour; pixels equal to the key stay recognisable as key.
assetgen::Picture ToViewable(const graphics::Picture& picture);

// Names of the frame commands: "hold", "destroy", "play from N", "hold at N", "ignored N".
std::string DescribeCommands(const std::vector<int32_t>& commands);

}  // namespace cliptool
