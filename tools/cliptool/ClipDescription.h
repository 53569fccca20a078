#pragma once
// The text description from which `cliptool pack` builds a clip file.
//
//   # a comment; blank lines are ignored
//   rate 10                 frames per second
//   key #FF00FF             colour key of the pictures that follow (#RRGGBB, 0xBBGGRR-style number
//                           or decimal, as the picture record stores it: blue + green*256 + red*65536)
//   ground #3080A0          colour that half-covered pixels are blended into (the colour the sprite
//                           will stand on), for the pictures that follow
//   picture frames/a.png    a PNG, relative to the description's folder; pictures are numbered from 0
//   frame 0 x=4 y=-2 depth=1 hold play=0 holdat=3 destroy cmd=7,8
//                           one frame: its picture, offsets and commands (hold = 1, destroy = 2,
//                           play=N = 3 N, holdat=N = 4 N, cmd= any raw values), in the order given
//
// Without any `frame` line every picture becomes one frame, in order. PNG pixels less than half
// covered become the key; fully covered ones keep their colour (a pixel of exactly the key colour
// stays transparent); the rest are blended into the ground colour.

#include <string>
#include <vector>

#include "tools/assetgen/ClipWriter.h"

namespace cliptool {

struct PictureSource {
    std::string path;
    uint32_t key = 0;
    assetgen::Rgb ground;
};

struct ClipDescription {
    float frameRate = 10;
    std::vector<PictureSource> pictures;
    std::vector<assetgen::ClipFrame> frames;  // empty: one frame per picture
};

// Parses the description text; on failure returns false with "line N: what" in `error`.
bool ParseClipDescription(const std::string& text, const std::string& baseFolder, ClipDescription& out,
                          std::string& error);

// Loads a PNG and turns it into a keyed 24-bit picture as described above.
bool LoadPngPicture(const PictureSource& source, assetgen::Picture& out, std::string& error);

// Description file to clip bytes: parse, load every picture, encode.
bool PackClip(const std::string& descriptionPath, std::vector<uint8_t>& out, std::string& error);

}  // namespace cliptool
