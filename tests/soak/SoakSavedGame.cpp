#include "tests/soak/SoakSavedGame.h"

#include <algorithm>
#include <sstream>

#include "game/GameSettings.h"
#include "game/GameState.h"
#include "game/PondRules.h"

namespace {

std::string Differs(const char* what, int64_t saved, int64_t read) {
    std::ostringstream out;
    out << "the saved " << what << " was " << saved << ", the next start has " << read;
    return out.str();
}

}  // namespace

void SoakSavedGame::Snapshot() {
    const GameState& g = TheGameState();
    SavedState& saved = snapshot_;
    saved = {};
    saved.skill = g.skill;
    saved.soundOn = g.soundOn;
    saved.autoSave = g.autoSave;
    saved.levelNumber = TheGameSettings().levelNumber;
    saved.score = g.score;
    saved.levelPoints = g.levelPoints;
    for (int32_t i = 0; i < pond::IslandCount(); ++i) {
        const OLeave& island = *g.pond[static_cast<size_t>(i)];
        saved.islands.push_back({island.CellX(), island.CellY(), island.Frame()});
    }
    saved.lives = pond::LivingFrogs();
}

std::vector<std::string> SoakSavedGame::CheckStart() {
    if (saved_) known_ = true;
    saved_ = false;
    std::vector<std::string> out;
    if (!known_) return out;
    const GameState& g = TheGameState();
    if (!state_.autoSave) {
        if (g.autoSave) out.push_back("AutoSave was off when the game quit, and is on at the next start");
        if (g.restored)
            out.push_back("AutoSave was off when the game quit, yet the next start continued a game");
        return out;
    }
    if (!g.autoSave) out.push_back("AutoSave was on when the game quit, and is off at the next start");
    if (g.skill != state_.skill) out.push_back(Differs("skill", state_.skill, g.skill));
    if (g.soundOn != state_.soundOn) out.push_back(Differs("sound switch", state_.soundOn, g.soundOn));
    // A game is continued when the pond it meets can hold it.
    const bool fits = static_cast<int32_t>(state_.islands.size()) == pond::IslandCount() &&
                      state_.lives >= 1 && state_.lives <= static_cast<int32_t>(g.frogs.size());
    if (!fits) return out;
    if (!g.restored) out.push_back("a game saved on the quit was not continued at the next start");
    if (TheGameSettings().levelNumber != state_.levelNumber)
        out.push_back(Differs("level", state_.levelNumber, TheGameSettings().levelNumber));
    if (g.score != state_.score) out.push_back(Differs("score", state_.score, g.score));
    if (g.levelPoints != state_.levelPoints)
        out.push_back(Differs("level points", state_.levelPoints, g.levelPoints));
    if (pond::LivingFrogs() != state_.lives)
        out.push_back(Differs("lives", state_.lives, pond::LivingFrogs()));
    // Every island where it stood, the entry island back where the frogs arrive.
    for (size_t i = 0; i + 1 < state_.islands.size(); ++i) {
        const OLeave& island = *g.pond[i];
        const SavedIsland& saved = state_.islands[i];
        if (island.CellX() != saved.column || island.CellY() != saved.row || island.Frame() != saved.frame)
            out.push_back(Differs("island's column, row and frame",
                                  saved.column * 10000 + saved.row * 100 + saved.frame,
                                  island.CellX() * 10000 + island.CellY() * 100 + island.Frame()));
    }
    return out;
}
