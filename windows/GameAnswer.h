#pragma once

class OWndYesNo;

// The game's dialogs leave their answer in the game state, where the game window's frame step
// reads it once the dialog has closed (the quit confirmation, the next level, the name and the
// clear confirmation all work so).
void AnswerIntoGameState(OWndYesNo& dialog);
