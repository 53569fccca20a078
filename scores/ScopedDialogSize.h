#pragma once
#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"

// The size the next window is created with, for one dialog: set on construction, and the size that
// was there put back on destruction, so the next window the program makes is not a dialog's size.
// Main thread, around the dialog's construction.
class ScopedDialogSize {
  public:
    ScopedDialogSize(int width, int height)
        : width_(WindowDefaults::Current().width), height_(WindowDefaults::Current().height) {
        WindowDefaults::Current().width = width;
        WindowDefaults::Current().height = height;
    }
    ~ScopedDialogSize() {
        WindowDefaults::Current().width = width_;
        WindowDefaults::Current().height = height_;
    }
    ScopedDialogSize(const ScopedDialogSize&) = delete;
    ScopedDialogSize& operator=(const ScopedDialogSize&) = delete;

  private:
    int width_;
    int height_;
};

// Starts a score dialog just made over its parent. One whose native window could not be created is not
// started (it has nothing to show and holds no parent) but disposed of at once, and false returned,
// so the opener can undo what it set up for it. Main thread.
inline bool StartScoreDialog(OWindow* dialog) {
    if (!dialog) return false;
    if (!dialog->CreationFailed() && dialog->Start()) return true;
    // Never started, so no game thread will tear it down.
    dialog->RequestStop();
    dialog->Teardown();
    return false;
}
