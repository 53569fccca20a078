#pragma once
// The game's windows on the headless platform as a player and the program's threads would meet them:
// the game window and the dialogs opened over it (a dialog may open over a dialog), the one in front
// that a player's keys and clicks reach, input delivered as the main thread's event loop delivers it,
// and the dialogs' own game threads, played step by step. The replay tool and the soak both drive
// the game through it, so a script and a soak reach the dialogs the same way.
//
// Main thread only, with the game threads off (each dialog is stepped and torn down here).
#include <cstdint>
#include <vector>

#include "platform/NativeEvent.h"

namespace platform {
class HeadlessPlatform;
}
class OWindow;

class HeadlessWindows {
  public:
    explicit HeadlessWindows(platform::HeadlessPlatform& os) : os_(os) {}

    // Takes in the windows opened since the last call and lets go of those torn down. A window that
    // closed is kept until its teardown, as the program's own game thread would keep it.
    void Refresh(const OWindow* game);
    // The game window first, then the dialogs, oldest first.
    const std::vector<OWindow*>& All() const { return windows_; }
    // The newest window still open: the one a player's input goes to. Null when none is.
    OWindow* Front() const;
    // Which dialog `window` is, from its class: "options", "scores", "clear", "help", "quit",
    // "level", "name", "other"; "" for the game window or none.
    static const char* DialogName(const OWindow* window);

    // Input to `window`, then whatever its handlers posted, before the next input. Pointer events
    // are in the window's own pixels and move the native pointer there too.
    void Send(OWindow& window, platform::NativeEventType type, int code, int x, int y);
    void Key(OWindow& window, int code);
    void Click(OWindow& window, int x, int y, int button);
    void Focus(OWindow& window, bool on);
    // Events delivered so far.
    int64_t Count() const { return count_; }
    // Every event written to standard error as it is delivered.
    void Trace(bool on) { trace_ = on; }

    // The dialogs' game threads, one pass: a frame step of each dialog open, or the teardown of one
    // that has closed; the newest first, so a dialog over another goes before the one under it.
    void StepDialogs(const OWindow* game);

  private:
    platform::HeadlessPlatform& os_;
    std::vector<OWindow*> windows_;
    int64_t count_ = 0;
    bool trace_ = false;
};
