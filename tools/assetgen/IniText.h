#pragma once
// The settings file written beside the game: every tuning key at its default, each with a comment.

#include <string>

namespace assetgen {

std::string SettingsFileText();

}  // namespace assetgen
