#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of "state.dat": decimal integers, each followed by a tab, in this order:
//   skill, sound on, AutoSave, level number, score, level points, islands left,
//   column, row and frame of every island (the entry island last), lives.
// So a pond of n islands gives 8 + 3n fields. The island count is not stored: writer and reader
// both take it from the pond. With AutoSave off the game writes an empty text instead.
//
// This is the pure part of the saved game: building the text from a snapshot, and reading a text
// back into what may be restored. Reading accepts any bytes; everything a value is later used for
// (an index into the frog list, a cell of the grid, a frame of the island clip, a level the
// difficulty is scaled from) is checked here, so a damaged or foreign file can never reach the
// game as a number it cannot use.

struct SavedIsland {
    int32_t column = 0;
    int32_t row = 0;
    int32_t frame = 0;
    bool operator==(const SavedIsland&) const = default;
};

// What the game writes: a snapshot of the options and the game in progress.
struct SavedState {
    int32_t skill = 0;  // 0 Novice, 1 Expert, 2 Master
    bool soundOn = true;
    bool autoSave = true;
    int32_t levelNumber = 1;
    int32_t score = 0;
    int32_t levelPoints = 0;
    int32_t islandsLeft = 0;  // written for whoever reads the file; not used when reading
    std::vector<SavedIsland> islands;
    int32_t lives = 0;  // frogs of the player's side still alive
};

std::string StateText(const SavedState& state);

// The pond a text is read against: the values that decide which numbers are usable.
struct StateLimits {
    int32_t islandCount = 0;   // islands in the pond list
    int32_t islandFrames = 0;  // frames of the island clip; the last one is under water
    int32_t columns = 8;
    int32_t rows = 6;
    int32_t frogCount = 0;  // frogs of the player's side: the most lives a game can hold
};

// Ranges a saved game must lie in. The digit bar shows three digits of the level and six of the
// score, and the difficulty and the sums of points stay far from overflow below these.
inline constexpr int32_t kMaxSavedLevel = 999;
inline constexpr int32_t kMaxSavedPoints = 999999;
// The entry island is put back where the frogs arrive, whatever the file says.
inline constexpr int32_t kEntryColumn = 4;
inline constexpr int32_t kEntryRow = 3;
// The cell of an island the game has taken out of the pond (a frog drowned on it).
inline constexpr int32_t kOffGrid = -1;

// A text read back. An empty field of the first seven leaves its value as the game has it
// (nullopt here).
struct ReadStateResult {
    // The options: restored whenever the text is not empty. A skill outside 0..2 reads as Novice.
    std::optional<int32_t> skill;
    std::optional<bool> soundOn;
    std::optional<bool> autoSave;

    // Level, score and level points: applied together, and only when each lies in its range.
    std::optional<int32_t> levelNumber;
    std::optional<int32_t> score;
    std::optional<int32_t> levelPoints;
    bool progressValid = true;

    // The islands in list order (the entry island's cell already put on (4, 3)) and the lives.
    std::vector<SavedIsland> islands;
    int32_t lives = 0;

    // Why a game cannot be continued, each on its own (several may hold).
    bool skillValid = true;
    bool fieldCountMatches = true;  // exactly 8 + 3n fields: no island count changed since the save
    bool islandsValid =
        true;                // every cell on the grid (or taken out), no two on one cell, frames in the clip
    bool livesValid = true;  // 1 .. the frogs the pond holds

    // A game in progress can be continued from this text.
    bool Restorable() const {
        return skillValid && progressValid && fieldCountMatches && islandsValid && livesValid;
    }
};

// Reads a non-empty text (an empty one means "nothing saved" to the caller).
ReadStateResult ReadStateText(std::string_view text, const StateLimits& limits);
