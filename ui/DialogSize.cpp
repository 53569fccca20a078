#include "ui/DialogSize.h"

#include "engine/OWindow.h"
#include "engine/WindowDefaults.h"

DialogSize::DialogSize(int width, int height)
    : savedWidth_(WindowDefaults::Current().width), savedHeight_(WindowDefaults::Current().height) {
    WindowDefaults::Current().width = width;
    WindowDefaults::Current().height = height;
}

DialogSize::~DialogSize() {
    WindowDefaults::Current().width = savedWidth_;
    WindowDefaults::Current().height = savedHeight_;
}

bool StartDialog(OWindow* dialog) {
    if (!dialog) return false;
    if (!dialog->CreationFailed() && dialog->Start()) return true;
    // Never started, so no game thread will tear it down.
    dialog->RequestStop();
    dialog->Teardown();
    return false;
}
