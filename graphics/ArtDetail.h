#pragma once
#include <cstdint>
#include <string>

namespace graphics {

// The art is drawn at the game's own size and, for large screens, again at a few whole-number
// scales into folders beside it ("CLP@2x" beside "CLP"). The program chooses once, before it opens a
// window or loads a picture, which of those its windows compose from: its detail. At 1 (the default)
// every picture is the logical one and nothing else is read.
int32_t ArtDetail();
void SetArtDetail(int32_t detail);

// The name the art of `detail` gives a picture file of the game ("CLP\\frog0.clp" becomes
// "CLP@2x\\frog0.clp"); empty for a name outside CLP or a detail below 2.
std::string FineArtName(const std::string& name, int32_t detail);

// Where that file of the game's art lies, when it is installed; empty when there is none (which is no
// fault: the picture is enlarged instead).
std::string InstalledFineArt(const std::string& fineName);

}  // namespace graphics
