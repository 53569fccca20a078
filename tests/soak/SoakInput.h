#pragma once
// The soak's hands: random input delivered to the windows through the game's headless windows (as
// the main thread's event loop would deliver it: a key goes down and up, a click is a move, a press
// and a release, followed at once by whatever the handlers posted). Aimed at random points, at the
// windows' own controls, or typed.
#include <cstdint>
#include <random>

#include "windows/HeadlessWindows.h"
#include "platform/NativeEvent.h"

class OWindow;

class SoakInput {
  public:
    SoakInput(HeadlessWindows& windows, std::mt19937& random) : windows_(windows), random_(random) {}

    // One input of any kind to `window`: a key, a typed character, a click anywhere (also just
    // outside the window), a click on one of its controls, a drag, a move, a focus change, a close
    // request.
    void Anything(OWindow& window);
    // What a player does to a dialog: a key that answers it (Enter, Escape, Tab), a click on one of
    // its controls or anywhere, a few characters typed, the window manager's close.
    void Answer(OWindow& dialog);
    // A click on the control of `window` at `index` in its control list, in its middle or near an edge.
    void ClickControl(OWindow& window, size_t index);

    void Key(OWindow& window, int code);
    void Click(OWindow& window, int x, int y, int button);
    void Focus(OWindow& window, bool on);
    void Type(OWindow& window, int count);

    int64_t Count() const { return windows_.Count(); }
    // Every event written to standard error as it is delivered, for following a failure up to it.
    void Trace(bool on) { windows_.Trace(on); }

  private:
    void Send(OWindow& window, platform::NativeEventType type, int code, int x, int y);
    int Below(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }
    int RandomKey();
    void Drag(OWindow& window);

    HeadlessWindows& windows_;
    std::mt19937& random_;
};
