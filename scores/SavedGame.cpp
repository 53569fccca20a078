#include "scores/SavedGame.h"

#include "game/GameState.h"

// Until the saved state is read and written, every start is a fresh game with AutoSave off.
bool LoadGameState() {
    TheGameState().autoSave = false;
    return false;
}

void SaveGameState() {}
