#include "platform/SdlTestPad.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace platform {

int SdlTestPad::Attach() {
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
    if (index < 0) std::fprintf(stderr, "marshwade: no test pad: %s\n", SDL_GetError());
    return index;
}

std::unique_ptr<SdlTestPad> SdlTestPad::FromEnvironment() {
    const char* file = std::getenv("MARSHWADE_TEST_PAD");
    if (!file || !*file) return nullptr;
    const int index = Attach();
    if (index < 0) return nullptr;
    return std::unique_ptr<SdlTestPad>(new SdlTestPad(file, index));
}

std::unique_ptr<SdlTestPad> SdlTestPad::Plug() {
    const int index = Attach();
    if (index < 0) return nullptr;
    std::unique_ptr<SdlTestPad> pad(new SdlTestPad("", index));
    if (!pad->joystick_) return nullptr;
    return pad;
}

SdlTestPad::SdlTestPad(std::string file, int deviceIndex) : file_(std::move(file)) {
    joystick_ = SDL_JoystickOpen(deviceIndex);
    id_ = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (joystick_ && !file_.empty()) reader_ = std::thread([this] { Read(); });
}

SdlTestPad::~SdlTestPad() {
    stop_ = true;
    if (reader_.joinable()) reader_.join();
    if (joystick_) SDL_JoystickClose(joystick_);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id_) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    }
}

// Polls the file for whole lines past those already read. SDL's virtual joystick takes its state from
// any thread (under SDL's joystick lock); the events come out of the main thread's event pump.
void SdlTestPad::Read() {
    std::streamoff done = 0;
    while (!stop_) {
        std::ifstream in(file_, std::ios::binary);
        if (in) {
            in.seekg(done);
            std::string line;
            while (std::getline(in, line)) {
                if (in.eof()) break;  // a line still being written: read it whole next time
                done += static_cast<std::streamoff>(line.size()) + 1;
                Apply(line);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void SdlTestPad::Apply(const std::string& line) {
    if (!joystick_) return;
    std::istringstream words(line);
    std::string name;
    long value = 0;
    if (!(words >> name >> value)) return;
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
    if (button != SDL_CONTROLLER_BUTTON_INVALID) {
        SDL_JoystickSetVirtualButton(joystick_, button, value != 0 ? 1 : 0);
        return;
    }
    const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name.c_str());
    if (axis != SDL_CONTROLLER_AXIS_INVALID && value >= -32768 && value <= 32767)
        SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
}

}  // namespace platform
