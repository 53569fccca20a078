#pragma once
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
