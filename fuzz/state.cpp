// The saved-state reader on arbitrary bytes, taken both as the text of "state.dat" and as the file
// itself (decrypted as the game decrypts it), against ponds of several sizes. Checks that whatever
// the reader lets through is usable by the game: a restorable text has every island on the grid
// (or taken out) and on a cell of its own, frames inside the island clip, lives the frog list holds,
// a skill of 0 to 2 and level and points in their ranges; and that writing what was read gives a
// text that reads back the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "scores/DataFileCodec.h"
#include "scores/SavedState.h"

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_state: %s\n", what);
        std::abort();
    }
}

void CheckUsable(const ReadStateResult& read, const StateLimits& limits) {
    if (read.skill) Check(*read.skill >= 0 && *read.skill <= 2, "a skill outside 0..2 got through");
    if (!read.Restorable()) return;
    Check(!read.levelNumber || (*read.levelNumber >= 1 && *read.levelNumber <= kMaxSavedLevel), "level");
    Check(!read.score || (*read.score >= 0 && *read.score <= kMaxSavedPoints), "score");
    Check(!read.levelPoints || (*read.levelPoints >= 0 && *read.levelPoints <= kMaxSavedPoints), "points");
    Check(read.lives >= 1 && read.lives <= limits.frogCount, "lives outside the frog list");
    Check(static_cast<int32_t>(read.islands.size()) == limits.islandCount, "island count");
    std::set<std::pair<int32_t, int32_t>> cells;
    for (const SavedIsland& island : read.islands) {
        Check(island.frame >= 0 && island.frame < limits.islandFrames, "frame outside the island clip");
        const bool onGrid = island.column >= 0 && island.column < limits.columns && island.row >= 0 &&
                            island.row < limits.rows;
        Check(onGrid || (island.column == kOffGrid && island.row == kOffGrid), "island off the grid");
        if (onGrid) Check(cells.insert({island.column, island.row}).second, "two islands on one cell");
    }
    const SavedIsland& entry = read.islands.back();
    Check(entry.column == kEntryColumn && entry.row == kEntryRow, "entry island not where the frogs arrive");

    SavedState again;
    again.skill = read.skill.value_or(0);
    again.soundOn = read.soundOn.value_or(true);
    again.autoSave = read.autoSave.value_or(true);
    again.levelNumber = read.levelNumber.value_or(1);
    again.score = read.score.value_or(0);
    again.levelPoints = read.levelPoints.value_or(0);
    again.islands = read.islands;
    again.lives = read.lives;
    const ReadStateResult reread = ReadStateText(StateText(again), limits);
    Check(reread.Restorable() && reread.islands == read.islands && reread.lives == read.lives,
          "a restorable state does not survive being written again");
}

void ReadAgainstPonds(std::string_view text) {
    if (text.empty()) return;  // the game reads nothing saved into an empty text
    static const StateLimits ponds[] = {
        {6, 11, 8, 6, 8},   // the default pond
        {2, 6, 8, 6, 1},    // the fewest islands, one frog
        {12, 1, 8, 6, 12},  // the most islands, a one-frame island clip
        {0, 0, 8, 6, 0},    // no pond at all
    };
    for (const StateLimits& limits : ponds) CheckUsable(ReadStateText(text, limits), limits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadAgainstPonds(bytes);
    ReadAgainstPonds(DecodeDataFile(bytes).text);
    return 0;
}
