#include "game/SavedGame.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "game/GameSettings.h"
#include "game/GameState.h"
#include "game/PondGrid.h"
#include "game/PondRules.h"
#include "storage/DataFilePath.h"
#include "storage/SavedState.h"
#include "storage/TScoresTable.h"

namespace {

constexpr const char* kStateFile = "state.dat";

// The quit may be met by more than one frame step before the window has closed.
bool savedThisRun = false;
// The file was there at the start but could not be read: what it holds is unknown, so this run
// never replaces it.
bool keepUnreadableFile = false;

StateLimits CurrentLimits() {
    const GameState& g = TheGameState();
    StateLimits limits;
    limits.islandCount = pond::IslandCount();
    limits.islandFrames = limits.islandCount > 0 ? g.pond.front()->FrameCount() : 0;
    limits.columns = pond::TheGeometry().columns;
    limits.rows = pond::TheGeometry().rows;
    // The frogs are made after the saved state is read: as many as the settings ask for.
    limits.frogCount =
        g.frogs.empty() ? TheGameSettings().MaxFrogNumber : static_cast<int32_t>(g.frogs.size());
    return limits;
}

SavedState CurrentState() {
    const GameState& g = TheGameState();
    SavedState state;
    state.skill = g.skill;
    state.soundOn = g.soundOn;
    state.autoSave = g.autoSave;
    state.levelNumber = TheGameSettings().levelNumber;
    state.score = g.score;
    state.levelPoints = g.levelPoints;
    state.islandsLeft = pond::CountIslands();
    for (int32_t i = 0; i < pond::IslandCount(); ++i) {
        const OLeave& island = *g.pond[static_cast<size_t>(i)];
        state.islands.push_back({island.CellX(), island.CellY(), island.Frame()});
    }
    state.lives = static_cast<int32_t>(
        std::count_if(g.frogs.begin(), g.frogs.end(), [](const auto& frog) { return !frog->IsDead(); }));
    return state;
}

void ApplyOptions(const ReadStateResult& read) {
    GameState& g = TheGameState();
    if (read.skill) g.skill = *read.skill;
    // So the first frame step sees no change of skill, and a new game gets the skill's lives.
    g.appliedSkill = g.skill;
    TheGameSettings().startLives = StartLivesForSkill(TheGameSettings(), g.skill);
    if (read.soundOn) g.soundOn = *read.soundOn;
    if (read.autoSave) g.autoSave = *read.autoSave;
}

void ApplyProgress(const ReadStateResult& read) {
    if (!read.progressValid) return;
    GameState& g = TheGameState();
    if (read.levelNumber) TheGameSettings().levelNumber = *read.levelNumber;
    if (read.score) g.score = *read.score;
    if (read.levelPoints) g.levelPoints = *read.levelPoints;
}

void ApplyIslands(const std::vector<SavedIsland>& islands) {
    GameState& g = TheGameState();
    for (size_t i = 0; i < islands.size(); ++i) {
        OLeave& island = *g.pond[i];
        const SavedIsland& saved = islands[i];
        if (saved.column == kOffGrid) {
            // Out of the pond and out of sight, as the game leaves an island a frog drowned on.
            island.SetCellFields(kOffGrid, kOffGrid);
            island.PlaceAt(static_cast<float>(-pond::CellX(5)), static_cast<float>(-pond::CellY(5)));
        } else {
            pond::SetCell(island, saved.column, saved.row);
        }
        island.SetFrame(saved.frame);
    }
}

}  // namespace

bool LoadGameState() {
    GameState& g = TheGameState();
    std::string text;
    DataFileState state = DataFileState::Missing;
    TScoresTable().LoadText(DataFilePath(kStateFile), text, &state);
    keepUnreadableFile = state == DataFileState::Unreadable;
    if (text.empty()) {
        // Nothing saved (or a file that ends at its checksum): AutoSave stays off until the player
        // switches it on.
        g.autoSave = false;
        return false;
    }
    const ReadStateResult read = ReadStateText(text, CurrentLimits());
    ApplyOptions(read);
    ApplyProgress(read);
    if (!read.Restorable()) return false;
    ApplyIslands(read.islands);
    g.savedLives = read.lives;
    return true;
}

void SaveGameState() {
    if (savedThisRun) return;
    if (keepUnreadableFile) {
        std::fprintf(stderr, "%s: not saved: the file could not be read at the start and is kept as it is\n",
                     DataFilePath(kStateFile).c_str());
        return;
    }
    const std::string text = TheGameState().autoSave ? StateText(CurrentState()) : std::string();
    savedThisRun = TScoresTable().SaveText(DataFilePath(kStateFile), text);
}

void ForgetSaveOfThisRunForTesting() {
    savedThisRun = false;
}
