// The score windows the game window opens: the name entry after a game and the table.
#include "game/OGameWindow.h"

void OGameWindow::OpenNameDialog() {}
void OGameWindow::OpenScores() {}
