#include "ui/OWndYesNo.h"

#include "engine/VirtualKey.h"
#include "ui/ControlEvents.h"
#include "ui/FramePiece.h"
#include "ui/OButton.h"
#include "ui/OControl.h"

OWndYesNo::OWndYesNo(OWindow* parent) : OWindow(parent) {}

bool OWndYesNo::Start() {
    // Without a native window there is nothing to show and no parent held: the opener disposes of it.
    if (CreationFailed()) return false;
    BuildFrame();
    Compose();
    BuildContents();
    // Adding clips raises the rate; the dialogs need no more than 12 steps a second.
    SetFrameRate(kFrameRate);
    return OWindow::Start();
}

void OWndYesNo::OnPress(int code, int x, int y) {
    if (code == vk::kEscape) Answer(kAnswerNo);
    OWindow::OnPress(code, x, y);
}

void OWndYesNo::OnCommand(int source, int event) {
    if (event != ControlEvent::Click) return;
    if (yesButton && source == yesButton->CommandId()) {
        Answer(kAnswerYes);
    } else if (noButton && source == noButton->CommandId()) {
        Answer(kAnswerNo);
    }
}

void OWndYesNo::BuildContents() {}

void OWndYesNo::BuildFrame() {
    const float w = ClientWidth();
    AddFramePiece("CLP\\ShoreLeft.clp", 0, 0, 10, kShoreKey);
    AddFramePiece("CLP\\VerBord.clp", 0, 0, 0, 0);
    AddFramePiece("CLP\\ShoreUp.clp", 0, -30, 10, kShoreKey);
    AddFramePiece("CLP\\HorBord.clp", 0, 0, 0, 0);
    AddFramePiece("CLP\\ShoreRight.clp", w - 25, 0, 10, kShoreKey);
    AddFramePiece("CLP\\VerBord.clp", w - 2, 0, 0, 0);
    AddFramePiece("CLP\\ShoreDown.clp", 0, 0, 10, kShoreKey, true);
    AddFramePiece("CLP\\HorBord.clp", 0, ClientHeight() - 2, 0, 0);
}

void OWndYesNo::Answer(int answer) {
    if (answered_) return;
    answered_ = true;
    if (answerSink_) answerSink_(answer);
    Close();
}

OButton* OWndYesNo::MakeButton(const std::string& clipFile) {
    auto* button = new OButton("", clipFile, 0, 1, 2, true);
    button->SetSounds("WAV\\over.wav", "WAV\\over.wav");
    return button;
}

void OWndYesNo::PlaceTwoButtons(OButton* yes, OButton* no) {
    const float w = ClientWidth(), h = ClientHeight();
    if (yes) yes->SetPosition(w / 2 - yes->Width() - 10, h - yes->Height() - 10, 0);
    if (no) no->SetPosition(w / 2 + 10, h - no->Height() - 10, 0);
}

void OWndYesNo::AddFramePiece(const std::string& clipFile, float x, float y, float depth, uint32_t key,
                              bool fromBottom) {
    ::AddFramePiece(*this, clipFile, x, y, depth, key, fromBottom);
}

void OWndYesNo::AddYesNoButtons() {
    yesButton = MakeButton("CLP\\btYes.clp");
    noButton = MakeButton("CLP\\btNo.clp");
    PlaceTwoButtons(yesButton, noButton);
    AddGraph(yesButton);
    AddGraph(noButton);
    FocusGraph(yesButton);
}

OLongText OWndYesNo::QuestionText(int32_t y) {
    OLongText text(this);
    text.y = y;
    text.align = 3;
    text.font.height = 28;
    text.font.colour = 0;
    return text;
}
