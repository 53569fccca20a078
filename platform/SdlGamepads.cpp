#include "platform/SdlGamepads.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
constexpr int kTab = 9, kEnter = 13, kShift = 16, kEscape = 27;
constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
}  // namespace

SdlGamepads::~SdlGamepads() {
    Close();
}

void SdlGamepads::Close() {
    for (auto& [id, pad] : pads_) SDL_GameControllerClose(pad.controller);
    pads_.clear();
    if (opened_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    opened_ = false;
}

bool SdlGamepads::Open() {
    if (opened_) return true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "marshwade: gamepads cannot be used: %s\n", SDL_GetError());
        return false;
    }
    opened_ = true;
    return true;
}

void SdlGamepads::Add(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || pads_.count(id)) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    pads_[id] = Pad{controller, 0, 0};
}

// A pad pulled out while its stick was pushed lets the arrow go: a key left down would stay so.
void SdlGamepads::Remove(SDL_JoystickID id, std::vector<PadKey>& keys) {
    auto it = pads_.find(id);
    if (it == pads_.end()) return;
    Stick(it->second.stickX, 0, kLeft, kRight, keys);
    Stick(it->second.stickY, 0, kUp, kDown, keys);
    SDL_GameControllerClose(it->second.controller);
    pads_.erase(it);
}

void SdlGamepads::Button(uint8_t button, bool down, std::vector<PadKey>& keys) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            keys.push_back({kLeft, down});
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            keys.push_back({kRight, down});
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            keys.push_back({kUp, down});
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            keys.push_back({kDown, down});
            break;
        case SDL_CONTROLLER_BUTTON_A:
            keys.push_back({kEnter, down});
            break;
        case SDL_CONTROLLER_BUTTON_B:
            keys.push_back({kEscape, down});
            break;
        case SDL_CONTROLLER_BUTTON_START:
            keys.push_back({kPauseKey, down});
            break;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            keys.push_back({kTab, down});
            break;
        // Shift is held round the Tab, as fingers on a keyboard hold it.
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            if (down) {
                keys.push_back({kShift, true});
                keys.push_back({kTab, true});
            } else {
                keys.push_back({kTab, false});
                keys.push_back({kShift, false});
            }
            break;
        default:
            break;
    }
}

void SdlGamepads::Stick(int& held, int value, int minus, int plus, std::vector<PadKey>& keys) {
    int now = held;
    if (value >= kPushed)
        now = 1;
    else if (value <= -kPushed)
        now = -1;
    else if (std::abs(value) < kReleased)
        now = 0;
    // Between the two thresholds the stick keeps what it held, unless it crossed over the middle.
    else if ((held > 0 && value < 0) || (held < 0 && value > 0))
        now = 0;
    if (now == held) return;
    if (held != 0) keys.push_back({held > 0 ? plus : minus, false});
    if (now != 0) keys.push_back({now > 0 ? plus : minus, true});
    held = now;
}

void SdlGamepads::TranslateWaiting(std::vector<PadKey>& keys) {
    if (!opened_) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) Translate(e, keys);
}

bool SdlGamepads::Translate(const SDL_Event& e, std::vector<PadKey>& keys) {
    switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
            Add(e.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            Remove(e.cdevice.which, keys);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (pads_.count(e.cbutton.which))
                Button(e.cbutton.button, e.type == SDL_CONTROLLERBUTTONDOWN, keys);
            return true;
        case SDL_CONTROLLERAXISMOTION: {
            auto it = pads_.find(e.caxis.which);
            if (it == pads_.end()) return true;
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
                Stick(it->second.stickX, e.caxis.value, kLeft, kRight, keys);
            else if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
                Stick(it->second.stickY, e.caxis.value, kUp, kDown, keys);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace platform
