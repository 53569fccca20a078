#pragma once
// The settings file's [Display] keys: read by the program at start-up, and written with their
// defaults and comments into the generated settings file, so both use the same names.
namespace display_settings {

inline constexpr const char* kSection = "Display";
// "auto" (the largest whole scale that fits the screen) or a whole number of times.
inline constexpr const char* kScaleKey = "Scale";
inline constexpr const char* kDefaultScale = "auto";
// "1" starts fullscreen; the choice made with F11 or Alt+Enter, kept beside the saved games, wins.
inline constexpr const char* kFullscreenKey = "Fullscreen";
inline constexpr const char* kDefaultFullscreen = "0";
// "1" draws the window from the pictures made for its scale (CLP@2x/, CLP@3x/) where they are
// installed; "0" enlarges the game's own, which takes less memory.
inline constexpr const char* kFineArtKey = "FineArt";
inline constexpr const char* kDefaultFineArt = "1";

}  // namespace display_settings
