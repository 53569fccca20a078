#pragma once
#include <string>

#include "game/GameState.h"

// The skill text of the score table for the game's current skill: "1" Novice, "2" Expert,
// "3" Master. Read on the main thread while the game window is paused by a score window.
inline std::string CurrentSkillText() {
    return std::to_string(TheGameState().skill + 1);
}

// The score table's file.
inline constexpr const char* kTableFile = "table.dat";
