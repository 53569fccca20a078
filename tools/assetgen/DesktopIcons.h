#pragma once
// The icon of the desktop menu and the launcher: the frog on its leaf in a round bit of pond, with
// nothing around the disc, so it sits on any panel. Written into an icon theme folder:
// hicolor/<n>x<n>/apps/marshwade.png for each of kDesktopIconSizes and
// hicolor/scalable/apps/marshwade.svg.

#include <array>
#include <string>

namespace assetgen {

inline constexpr std::array<int, 6> kDesktopIconSizes{16, 32, 48, 64, 128, 256};

// Writes every icon below `folder` (creating the folders). Returns false and names the file in
// `error` on failure. The files are the same, byte for byte, on every run.
bool WriteDesktopIcons(const std::string& folder, std::string& error);

}  // namespace assetgen
