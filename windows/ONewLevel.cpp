#include "windows/ONewLevel.h"

#include <algorithm>
#include <string>

#include "game/GameSettings.h"
#include "game/GameState.h"
#include "platform/SoundPlayer.h"
#include "ui/OButton.h"
#include "ui/OLongText.h"
#include "windows/GameAnswer.h"

namespace {
constexpr int32_t kLeftAligned = 1;
constexpr int32_t kRightAligned = 2;
constexpr int32_t kCentred = 3;

// Frogs of the player's side still alive, and how many frog objects there are.
int32_t LivingFrogCount() {
    const auto& frogs = TheGameState().frogs;
    return static_cast<int32_t>(
        std::count_if(frogs.begin(), frogs.end(), [](const auto& f) { return f && !f->IsDead(); }));
}
}  // namespace

ONewLevel::ONewLevel(OWindow* parent) : OWndYesNo(parent) { AnswerIntoGameState(*this); }

void ONewLevel::Row(OLongText& text, const char* words, int32_t x, int32_t y, int32_t align) {
    text.x = x;
    text.y = y;
    text.align = align;
    text.LayOut(words);
}

void ONewLevel::BuildContents() {
    const float w = ClientWidth(), h = ClientHeight();
    yesButton = MakeButton("CLP\\btPlay.clp");
    yesButton->SetPosition((w - yesButton->Width()) / 2, h - yesButton->Height() - 10, 0);

    GameState& game = TheGameState();
    OLongText text(this);
    text.font.height = 28;
    text.font.colour = 0;
    text.right = 270;
    const std::string title = "Level " + std::to_string(TheGameSettings().levelNumber) + " completed";
    Row(text, title.c_str(), 30, 30, kCentred);
    Row(text, "Score", 30, 80, kLeftAligned);
    Row(text, std::to_string(levelPoints).c_str(), 150, 80, kRightAligned);
    Row(text, "Bonus", 30, 110, kLeftAligned);
    Row(text, std::to_string(LevelBonus(levelPoints)).c_str(), 150, 110, kRightAligned);
    if (LivingFrogCount() < static_cast<int32_t>(game.frogs.size())) {
        Row(text, "Bonus frog", 30, 140, kLeftAligned);
        Row(text, bonusFrog ? "YES" : "NO", 150, 140, kRightAligned);
    }
    Row(text, "Total score", 30, 190, kLeftAligned);
    // The level bonus is credited here, so the total shows it.
    AddPoints(game.score, LevelBonus(levelPoints));
    Row(text, std::to_string(game.score).c_str(), 150, 190, kRightAligned);

    Compose();
    // Not waited for: this runs on the main thread, which also shows the dialog's picture; waiting
    // would freeze the program and leave the dialog blank until the sound ends.
    if (game.soundOn) platform::SoundPlayer::Shared().Play("WAV\\newlevel.wav", platform::SoundMode::Async);
    AddGraph(yesButton);
    // Enter or Escape closes the dialog at once.
    FocusGraph(yesButton);
}
