#include "game/GameState.h"

#include "platform/SoundPlayer.h"

void GameState::Clear() {
    const bool order = meltOrder;
    *this = GameState{};
    meltOrder = order;
}

GameState& TheGameState() {
    static GameState state;
    return state;
}

void PlaySoundFile(std::string_view fileName) {
    if (!TheGameState().soundOn) return;
    platform::SoundPlayer::Shared().Play(fileName, platform::SoundMode::Sync);
}
