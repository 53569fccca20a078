#pragma once
#include "ui/OWndYesNo.h"

// "Are you sure?" with Yes and No: the confirmation the game window's Exit button asks for. Yes
// answers 1 and lifts the game's pause, so the game's next frame step sees the answer, saves and
// closes the game window (the pending dialog is then 2). No, Escape or any other way of closing
// leaves nothing pending: a later dialog's answer must never be read as this one's.
//
// Threads and ownership as every OWndYesNo.
class OWndQuit final : public OWndYesNo {
  public:
    explicit OWndQuit(OWindow* parent);

    void BuildContents() override;
    void OnCommand(int source, int event) override;
    // Runs on the main thread for every close but a teardown, before the game window takes input
    // again: unless the answer is yes, nothing stays pending.
    void QueryClose(bool& allow) override;

  protected:
    ~OWndQuit() override = default;
};
