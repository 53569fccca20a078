#include "windows/HeadlessWindows.h"

#include <algorithm>
#include <cstdio>
#include <typeinfo>

#include "engine/OWindow.h"
#include "windows/OGameWindow.h"
#include "platform/HeadlessPlatform.h"
#include "windows/OWndInsert.h"
#include "windows/OWndScores.h"
#include "windows/OWndScoresClear.h"
#include "windows/ONewLevel.h"
#include "windows/OOptionsWindow.h"
#include "windows/OWndHelp.h"
#include "windows/OWndQuit.h"

using platform::NativeEventType;

void HeadlessWindows::Refresh(const OWindow* game) {
    std::erase_if(windows_, [](OWindow* w) { return !OWindow::Exists(w); });
    for (platform::HeadlessNativeWindow* native : os_.Windows()) {
        auto* w = static_cast<OWindow*>(native->UserData());
        if (!w || !OWindow::Exists(w) || std::find(windows_.begin(), windows_.end(), w) != windows_.end())
            continue;
        windows_.push_back(w);
    }
    std::stable_partition(windows_.begin(), windows_.end(), [game](OWindow* w) { return w == game; });
}

OWindow* HeadlessWindows::Front() const {
    // A closed window has lost its native window; the one under it is in front again.
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        OWindow* w = *it;
        if (OWindow::Exists(w) && w->Native() && !w->IsStopping()) return w;
    }
    return nullptr;
}

const char* HeadlessWindows::DialogName(const OWindow* w) {
    if (!w || dynamic_cast<const OGameWindow*>(w)) return "";
    if (dynamic_cast<const OWndQuit*>(w)) return "quit";
    if (dynamic_cast<const ONewLevel*>(w)) return "level";
    if (dynamic_cast<const OOptionsWindow*>(w)) return "options";
    if (dynamic_cast<const OWndHelp*>(w)) return "help";
    if (dynamic_cast<const OWndInsert*>(w)) return "name";
    if (dynamic_cast<const OWndScoresClear*>(w)) return "clear";
    if (dynamic_cast<const OWndScores*>(w)) return "scores";
    return "other";
}

void HeadlessWindows::Send(OWindow& window, NativeEventType type, int code, int x, int y) {
    auto* native = static_cast<platform::HeadlessNativeWindow*>(window.Native());
    if (!native || !OWindow::Exists(&window)) return;
    if (type == NativeEventType::MouseMove || type == NativeEventType::ButtonDown ||
        type == NativeEventType::ButtonUp)
        native->SetCursor(x, y);
    ++count_;
    if (trace_)
        std::fprintf(stderr, "input %lld: window %s event %d code %d at %d,%d\n",
                     static_cast<long long>(count_), typeid(window).name(), static_cast<int>(type), code, x,
                     y);
    os_.Dispatch(native, {type, code, x, y});
    // What the handler posted (a close, a dialog to open, a present) is delivered before the next input.
    os_.Pump();
}

void HeadlessWindows::Key(OWindow& window, int code) {
    Send(window, NativeEventType::KeyDown, code, 0, 0);
    Send(window, NativeEventType::KeyUp, code, 0, 0);
}

void HeadlessWindows::Click(OWindow& window, int x, int y, int button) {
    Send(window, NativeEventType::MouseMove, 0, x, y);
    Send(window, NativeEventType::ButtonDown, button, x, y);
    Send(window, NativeEventType::ButtonUp, button, x, y);
}

void HeadlessWindows::Focus(OWindow& window, bool on) {
    Send(window, NativeEventType::FocusChanged, on ? 1 : 0, 0, 0);
}

void HeadlessWindows::StepDialogs(const OWindow* game) {
    Refresh(game);
    const std::vector<OWindow*> windows = windows_;
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        OWindow* w = *it;
        if (w == game || !OWindow::Exists(w)) continue;
        if (w->IsStopping()) {
            w->Teardown();
        } else {
            w->RunFrame();
        }
        os_.Pump();
    }
    Refresh(game);
}
