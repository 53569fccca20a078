#pragma once

// The saved options and game ("state.dat"): written once, on a confirmed quit, and read once when
// the game is built. Both run under the game window's lock. The text and how it is checked are in
// SavedState.h.

// Reads the saved state and applies it to the game state, the settings and the islands (which must
// exist, in the pond list). An empty, missing or unreadable file switches AutoSave off; an
// unreadable one (no access, not a regular file, an I/O error) is also never replaced in this run. The
// options are restored from any other text; level, score and level points when they lie in their ranges; the
// islands and the lives only when the whole game can be continued, and then the result is true (the
// islands stand as saved, the entry island on (4, 3)). Otherwise the caller places the islands.
bool LoadGameState();

// Writes the options and, with AutoSave on, the game in progress (with AutoSave off an empty text,
// so the next start is a fresh game). Once per run: later calls do nothing after a save that
// succeeded. A failed save is reported on standard error and the old file stays as it was; so does a
// save refused because the file could not be read at the start.
void SaveGameState();

// Tests play several runs in one process.
void ForgetSaveOfThisRunForTesting();
