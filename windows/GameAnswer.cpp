#include "windows/GameAnswer.h"

#include "game/GameState.h"
#include "ui/OWndYesNo.h"

void AnswerIntoGameState(OWndYesNo& dialog) {
    dialog.SetAnswerSink([](int answer) { TheGameState().dialogAnswer = answer; });
}
