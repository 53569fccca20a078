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

}  // namespace display_settings
