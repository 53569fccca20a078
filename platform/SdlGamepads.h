#pragma once
#include <SDL.h>

#include <map>
#include <vector>

namespace platform {

// A key as a gamepad stands for it: the game's key code, pressed or released.
struct PadKey {
    int code = 0;
    bool down = false;
    bool operator==(const PadKey&) const = default;
};

// Every game controller plugged in, opened as it comes and closed as it goes, its buttons and left
// stick read as the keys the keyboard gives: the d-pad and the stick are the arrows, A is Enter, B is
// Escape, Start the pause key, the right shoulder Tab and the left one Shift+Tab. The game then needs
// no input of its own for pads, and a dialog in front hears them as it hears the keyboard.
class SdlGamepads {
  public:
    // The stick stands for an arrow held down past kPushed and lets it go under kReleased: a push
    // hops once, and a stick trembling round one edge neither repeats nor drops the press.
    static constexpr int kPushed = 16000;
    static constexpr int kReleased = 8000;
    static constexpr int kPauseKey = 'P';

    SdlGamepads() = default;
    ~SdlGamepads();
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Starts SDL's game-controller part; the pads already plugged in arrive as device events. False
    // when SDL cannot: the game plays on with the keyboard and the mouse.
    bool Open();
    // Closes every pad and SDL's game-controller part; before SDL quits.
    void Close();
    // Takes the pad events among SDL's (true), adding to `keys` what they stand for.
    bool Translate(const SDL_Event& event, std::vector<PadKey>& keys);
    // Pumps SDL's events and translates every one waiting, for the headless platform, which has no
    // other SDL events (no display is opened); the rest are dropped.
    void TranslateWaiting(std::vector<PadKey>& keys);
    int Count() const { return static_cast<int>(pads_.size()); }

  private:
    struct Pad {
        SDL_GameController* controller = nullptr;
        int stickX = 0;  // the arrow the stick holds down on each axis: -1, 0 or 1
        int stickY = 0;
    };
    void Add(int deviceIndex);
    void Remove(SDL_JoystickID id, std::vector<PadKey>& keys);
    static void Button(uint8_t button, bool down, std::vector<PadKey>& keys);
    static void Stick(int& held, int value, int minus, int plus, std::vector<PadKey>& keys);

    bool opened_ = false;
    std::map<SDL_JoystickID, Pad> pads_;
};

}  // namespace platform
