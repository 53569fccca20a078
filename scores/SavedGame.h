#pragma once

// The saved options and game ("state.dat"): written once, on a confirmed quit, and read once when
// the game is built. Both run under the game window's lock.

// Reads the saved state and applies it to the game state, the settings and the islands. True when a
// game in progress was restored (the islands are then placed as saved).
bool LoadGameState();
// Writes the options and the game in progress (only the options' AutoSave decides whether the game
// goes in); at most once per run.
void SaveGameState();
