#pragma once

class OWindow;

// The size a dialog is made with. The window defaults describe the next window to be created, and the
// main window's own size must be what they say again once the dialog exists: this sets the dialog's
// width and height for its construction and puts back what was there when it goes out of scope.
// Main thread, around the dialog's construction.
class DialogSize {
  public:
    DialogSize(int width, int height);
    ~DialogSize();
    DialogSize(const DialogSize&) = delete;
    DialogSize& operator=(const DialogSize&) = delete;

  private:
    int savedWidth_;
    int savedHeight_;
};

// Starts a dialog just made over its parent. A dialog whose native window could not be created is not
// started (it has nothing to show and holds no parent) but disposed of at once, and false returned so
// that the opener can undo what it set up for it. Main thread.
bool StartDialog(OWindow* dialog);
