#include "windows/OWndScoresClear.h"

#include "engine/VirtualKey.h"
#include "engine/WindowRegistry.h"
#include "windows/OWndScores.h"
#include "ui/ControlEvents.h"
#include "ui/OButton.h"
#include "ui/OLongText.h"
#include "windows/GameAnswer.h"

OWndScoresClear::OWndScoresClear(OWndScores* owner) : OWndYesNo(owner), owner_(owner) { AnswerIntoGameState(*this); }

void OWndScoresClear::BuildContents() {
    AddYesNoButtons();
    OLongText text = QuestionText(25);
    text.LayOut("All records will be deleted!");
    text.LayOut("Are you sure?");
    noteTop_ = text.y + 4;
}

void OWndScoresClear::OnPress(int code, int x, int y) {
    if (code == vk::kEscape) answered_ = true;
    OWndYesNo::OnPress(code, x, y);
}

void OWndScoresClear::OnCommand(int source, int event) {
    if (event != ControlEvent::Click || answered_) return;
    if (yesButton && source == yesButton->CommandId()) {
        // The file is cleared now, while the score window is sure to be there (it follows before it
        // shows or sends anything again). No answer is left in the game state: the game window
        // reads it as the answer of its own dialogs (a yes there would be taken for the quit
        // dialog's).
        TableUpdate update = TableUpdate::Saved;
        if (OWindow* owner = window_registry::Pin(owner_)) {
            update = owner_->ClearSkill();
            window_registry::Unpin(owner);
        }
        if (update != TableUpdate::Saved) {
            note_.Show(*this, "Nothing was deleted", update, noteTop_, 14);
            return;
        }
        answered_ = true;
        Close();
    } else if (noButton && source == noButton->CommandId()) {
        answered_ = true;
        OWndYesNo::OnCommand(source, event);
    }
}
