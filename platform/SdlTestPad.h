#pragma once
#include <SDL.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace platform {

// A pad for the end-to-end tests, never for players: with MARSHWADE_TEST_PAD naming a file, the
// program plugs in one of SDL's virtual controllers and presses it as the lines the test appends to
// that file say, so that the whole path a real pad takes (SDL's device and button events, the
// mapping, the window with the focus) is the one tested. A line is "<button> <1|0>" with SDL's
// button names ("a", "b", "start", "dpleft", "leftshoulder", ...) or "<axis> <value>" ("leftx
// -32768"); anything else is skipped. Without the variable nothing is made.
class SdlTestPad {
  public:
    static std::unique_ptr<SdlTestPad> FromEnvironment();
    ~SdlTestPad();
    SdlTestPad(const SdlTestPad&) = delete;
    SdlTestPad& operator=(const SdlTestPad&) = delete;

  private:
    SdlTestPad(std::string file, int deviceIndex);
    void Read();
    void Apply(const std::string& line);

    std::string file_;
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID id_ = -1;
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

}  // namespace platform
