// The dialogs the game window opens. Each opener sets the pending dialog and the answer the flow
// reads when the dialog has closed; the dialogs themselves are windows of their own over this one.
#include "game/OGameWindow.h"

void OGameWindow::OpenLevelDialog() {}
void OGameWindow::OpenNameDialog() {}
void OGameWindow::OpenQuitDialog() {}
void OGameWindow::OpenOptions() {}
void OGameWindow::OpenScores() {}
void OGameWindow::OpenHelp() {}
