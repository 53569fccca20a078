// The dialogs the game window opens. Each opener checks that no other dialog is open, sets what the
// flow reads once the dialog has closed (the pending dialog and a cleared answer), makes the dialog
// over this window with its own size and starts it. All of it runs on the main thread, in an input
// handler of this window, with its lock held.
#include "game/GameSettings.h"
#include "windows/OGameWindow.h"
#include "ui/DialogSize.h"
#include "windows/ONewLevel.h"
#include "windows/OOptionsWindow.h"
#include "windows/OWndHelp.h"
#include "windows/OWndQuit.h"

bool OGameWindow::CanOpenDialog(bool fromButton) const {
    // A second dialog over the first would release the game when either closes.
    if (IsModalPaused()) return false;
    // The buttons' dialogs wait while the end of a level or a game is on its way: its dialog still
    // to open (1, 3), or closed with the frame step that starts the next level or game still to come
    // (5, 4). Help and the quit dialog set the pending dialog themselves and would lose it.
    const int32_t pending = TheGameState().pendingDialog;
    const bool endPending =
        pending == kLevelCompleted || pending == kGameOver || pending == kLevelOpen || pending == kNameOpen;
    return !(fromButton && endPending);
}

void OGameWindow::OpenLevelDialog() {
    if (!CanOpenDialog(false)) return;
    GameState& game = TheGameState();
    ONewLevel* dialog = nullptr;
    {
        DialogSize size(300, 320);
        dialog = new ONewLevel(this);
    }
    if (dialog->CreationFailed()) {
        StartDialog(dialog);  // disposes of it
        // The level goes on without the dialog: its bonus is credited as the dialog would have done,
        // and the next frame step starts the next level.
        AddPoints(game.score, LevelBonus(game.levelPoints));
        game.pendingDialog = kLevelOpen;
        game.dialogAnswer = kNoAnswer;
        return;
    }
    dialog->bonusFrog = PrepareLevelDialog();
    dialog->levelPoints = game.levelPoints;
    game.pendingDialog = kLevelOpen;
    game.dialogAnswer = kNoAnswer;
    StartDialog(dialog);
}

void OGameWindow::OpenQuitDialog() {
    if (!CanOpenDialog(true)) return;
    GameState& game = TheGameState();
    game.pendingDialog = kQuitOpen;
    game.dialogAnswer = kNoAnswer;
    OWndQuit* dialog = nullptr;
    {
        DialogSize size(280, 185);
        dialog = new OWndQuit(this);
    }
    // Nothing was asked, so nothing may wait for an answer.
    if (!StartDialog(dialog)) game.pendingDialog = kNoDialog;
}

void OGameWindow::OpenOptions() {
    if (!CanOpenDialog(true)) return;
    GameState& game = TheGameState();
    // The frame step starts a new game when the window has left another skill behind.
    game.appliedSkill = game.skill;
    OOptionsWindow* dialog = nullptr;
    {
        DialogSize size(260, 480);
        dialog = new OOptionsWindow(this);
    }
    StartDialog(dialog);
}

void OGameWindow::OpenHelp() {
    if (!CanOpenDialog(true)) return;
    GameState& game = TheGameState();
    game.pendingDialog = kNoDialog;
    game.dialogAnswer = kNoAnswer;
    OWndHelp* dialog = nullptr;
    {
        DialogSize size(OWndHelp::kWidth, OWndHelp::kHeight);
        dialog = new OWndHelp(this);
    }
    StartDialog(dialog);
}
