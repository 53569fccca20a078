#include "windows/OWndQuit.h"

#include "game/GameState.h"
#include "ui/ControlEvents.h"
#include "ui/OButton.h"
#include "ui/OLongText.h"
#include "windows/GameAnswer.h"

OWndQuit::OWndQuit(OWindow* parent) : OWndYesNo(parent) { AnswerIntoGameState(*this); }

void OWndQuit::BuildContents() {
    AddYesNoButtons();
    QuestionText(37).LayOut("Are you sure?");
}

void OWndQuit::OnCommand(int source, int event) {
    if (event == ControlEvent::Click && yesButton && source == yesButton->CommandId() && !Answered()) {
        Answer(kAnswerYes);
        // A paused game skips its frame steps, and the frame step is what acts on the answer.
        TheGameState().paused = false;
        return;
    }
    OWndYesNo::OnCommand(source, event);
}

void OWndQuit::QueryClose(bool& allow) {
    GameState& game = TheGameState();
    if (game.dialogAnswer != kAnswerYes && game.pendingDialog == kQuitOpen) game.pendingDialog = kNoDialog;
    OWndYesNo::QueryClose(allow);
}
