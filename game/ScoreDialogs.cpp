// The score windows the game window opens: the name entry after a game and the table.
#include "game/GameState.h"
#include "game/OGameWindow.h"
#include "scores/OWndInsert.h"
#include "scores/OWndScores.h"
#include "scores/ScopedDialogSize.h"

void OGameWindow::OpenNameDialog() {
    if (!CanOpenDialog(false)) return;
    // Whatever the answer, the next frame step after the dialog has closed starts a new game.
    TheGameState().pendingDialog = kNameOpen;
    TheGameState().dialogAnswer = kNoAnswer;
    ScopedDialogSize size(OWndInsert::kWidth, OWndInsert::kHeight);
    (new OWndInsert(this))->Start();
}

void OGameWindow::OpenScores() {
    if (!CanOpenDialog(true)) return;
    ScopedDialogSize size(OWndScores::kWidth, OWndScores::kHeight);
    (new OWndScores(this))->Start();
}
