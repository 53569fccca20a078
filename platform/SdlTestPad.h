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
    // A virtual pad with no file, pressed through Apply: for the headless platform, where the test
    // steps the game itself and a file read on a thread of its own would come at any frame. Null
    // when SDL cannot plug one in (its joystick part not started).
    static std::unique_ptr<SdlTestPad> Plug();
    ~SdlTestPad();
    SdlTestPad(const SdlTestPad&) = delete;
    SdlTestPad& operator=(const SdlTestPad&) = delete;

    // One line as the file has them ("a 1", "leftx -32768"); anything else does nothing.
    void Apply(const std::string& line);

  private:
    SdlTestPad(std::string file, int deviceIndex);
    static int Attach();
    void Read();

    std::string file_;
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID id_ = -1;
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

}  // namespace platform
