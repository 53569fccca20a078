// The score windows the game window opens: the name entry after a game and the table.
#include "game/GameState.h"
#include "windows/OGameWindow.h"
#include "windows/OWndInsert.h"
#include "windows/OWndScores.h"
#include "ui/DialogSize.h"

void OGameWindow::OpenNameDialog() {
    if (!CanOpenDialog(false)) return;
    // Whatever the answer, the next frame step after the dialog has closed starts a new game; so
    // does the next step when the dialog cannot be shown at all (nothing is recorded then).
    TheGameState().pendingDialog = kNameOpen;
    TheGameState().dialogAnswer = kNoAnswer;
    OWndInsert* dialog = nullptr;
    {
        DialogSize size(OWndInsert::kWidth, OWndInsert::kHeight);
        dialog = new OWndInsert(this);
    }
    StartDialog(dialog);
}

void OGameWindow::OpenScores() {
    if (!CanOpenDialog(true)) return;
    OWndScores* dialog = nullptr;
    {
        DialogSize size(OWndScores::kWidth, OWndScores::kHeight);
        dialog = new OWndScores(this);
    }
    StartDialog(dialog);
}
