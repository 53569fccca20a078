// The dialogs the game window opens. Each opener sets the pending dialog and the answer the flow
// reads when the dialog has closed; the dialogs themselves are windows of their own over this one.
#include "game/OGameWindow.h"

bool OGameWindow::CanOpenDialog(bool fromButton) const {
    // A second dialog over the first would release the game when either closes.
    if (IsModalPaused()) return false;
    const int32_t pending = TheGameState().pendingDialog;
    return !(fromButton && (pending == kLevelCompleted || pending == kGameOver));
}

void OGameWindow::OpenLevelDialog() {}
void OGameWindow::OpenQuitDialog() {}
void OGameWindow::OpenOptions() {}
void OGameWindow::OpenHelp() {}
