#include "ui/OWndQuit.h"

#include "game/GameState.h"
#include "ui/ControlEvents.h"
#include "ui/OButton.h"
#include "ui/OLongText.h"

OWndQuit::OWndQuit(OWindow* parent) : OWndYesNo(parent) {}

void OWndQuit::BuildContents() {
    yesButton = MakeButton("CLP\\btYes.clp");
    noButton = MakeButton("CLP\\btNo.clp");
    PlaceTwoButtons(yesButton, noButton);
    AddGraph(yesButton);
    AddGraph(noButton);
    // Enter answers yes at once.
    FocusGraph(yesButton);

    OLongText text(this);
    text.x = 0;
    text.y = 37;
    text.left = 0;
    text.right = static_cast<int32_t>(ClientWidth());
    text.font.height = 28;
    text.font.colour = 0;
    text.align = 3;
    text.LayOut("Are you sure?");
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
