// The saved-state reader on arbitrary bytes, taken both as the text of "state.dat" and as the file
// itself (decrypted as the game decrypts it), against ponds of several sizes. Checks that whatever
// the reader lets through is usable by the game: a restorable text has every island on the grid
// (or taken out) and on a cell of its own, frames inside the island clip, lives the frog list holds,
// a skill of 0 to 2 and level and points in their ranges; and that writing what was read gives a
// text that reads back the same. Then the bytes are the game's own state.dat, loaded by
// LoadGameState into a game state with six real islands, which must come out just as usable.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "game/GameSettings.h"
#include "game/GameState.h"
#include "game/PondGrid.h"
#include "game/PondRules.h"
#include "platform/ProgramPath.h"
#include "platform/TempFolder.h"
#include "storage/DataFileCodec.h"
#include "storage/DataFilePath.h"
#include "game/SavedGame.h"
#include "storage/SavedState.h"
#include "tests/support/ClipFileBuilder.h"

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

constexpr int32_t kIslands = 6;
constexpr int32_t kIslandFrames = 11;

// A program folder of our own with an island clip, and a game state holding six islands made from
// it, as the game window has them when it reads the saved state. Made once; removed at exit.
std::string PrepareGame() {
    namespace fs = std::filesystem;
    // Kept for the exit handler: no static of ours may be gone by then.
    static platform::TempFolder* const made = new platform::TempFolder("fuzz_state");
    if (made->Path().empty()) std::abort();
    std::atexit([] { delete made; });
    const fs::path folder = made->Path();
    fs::create_directory(folder / "CLP");
    testing_support::ClipFileBuilder clip;
    for (int16_t frame = 0; frame < kIslandFrames; ++frame)
        clip.Picture(testing_support::PictureRecordBytes(4, 4, 0)).Frame({0, 0, 0, frame, {}});
    const std::vector<uint8_t> bytes = clip.Build();
    std::ofstream(folder / "CLP" / "island0.clp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    platform::SetProgramDirectoryForTesting(folder.string());
    SetProgramFolderWritableForTesting(true);

    GameState& g = TheGameState();
    for (int32_t i = 0; i < kIslands; ++i) {
        auto island = std::make_unique<OLeave>();
        if (!island->LoadSet(1, "CLP\\island")) std::abort();
        island->state = OLeave::kIsland;
        g.pond.push_back(std::move(island));
    }
    g.islandCount = kIslands;
    // The islands' clips belong to no window here: released before the game state itself goes, so
    // the leak check at exit finds nothing of ours.
    std::atexit([] {
        for (auto& island : TheGameState().pond) island->Destroy();
        TheGameState().pond.clear();
    });
    return (folder / "state.dat").string();
}

void LoadIntoTheGame(std::string_view bytes) {
    static const std::string path = PrepareGame();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    GameState& g = TheGameState();
    GameSettings& s = TheGameSettings();
    g.skill = 0;
    g.appliedSkill = GameState::kNoSkill;
    g.score = g.levelPoints = g.savedLives = 0;
    s.levelNumber = 1;
    s.MaxFrogNumber = 8;

    const bool restored = LoadGameState();
    // A file without text leaves the skill to the game; any other sets the applied skill with it.
    Check(g.skill >= 0 && g.skill <= 2, "the game's skill");
    Check(g.appliedSkill == GameState::kNoSkill || g.appliedSkill == g.skill, "the applied skill");
    Check(s.levelNumber >= 1 && s.levelNumber <= kMaxSavedLevel, "the game's level");
    Check(
        g.score >= 0 && g.score <= kMaxSavedPoints && g.levelPoints >= 0 && g.levelPoints <= kMaxSavedPoints,
        "the game's points");
    if (!restored) return;
    Check(g.savedLives >= 1 && g.savedLives <= s.MaxFrogNumber, "the game's lives");
    std::set<std::pair<int32_t, int32_t>> cells;
    for (int32_t i = 0; i < kIslands; ++i) {
        const OLeave& island = *g.pond[static_cast<size_t>(i)];
        Check(island.Frame() >= 0 && island.Frame() < kIslandFrames, "an island's frame");
        if (island.CellX() == kOffGrid && island.CellY() == kOffGrid) continue;
        Check(pond::InGrid(island.CellX(), island.CellY()), "an island off the grid");
        Check(cells.insert({island.CellX(), island.CellY()}).second, "two islands on one cell");
    }
    const OLeave& entry = *g.pond.back();
    Check(entry.CellX() == kEntryColumn && entry.CellY() == kEntryRow, "the entry island");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadAgainstPonds(bytes);
    ReadAgainstPonds(DecodeDataFile(bytes).text);
    // LoadText reports a mismatched checksum on standard output; keep the fuzzer's log readable.
    std::FILE* saved = stdout;
    static std::FILE* devnull = std::fopen("/dev/null", "w");
    if (devnull) stdout = devnull;
    LoadIntoTheGame(bytes);
    LoadIntoTheGame(EncodeDataFile(bytes));
    stdout = saved;
    return 0;
}
