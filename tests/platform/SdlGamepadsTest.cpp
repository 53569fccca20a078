// Gamepads through SDL's own event path: virtual controllers attached, plugged out and pressed as a
// real pad would be, their events read from SDL's queue and turned into the game's keys. SDL's game
// controller part runs without a display.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/SdlGamepads.h"

namespace {

using platform::PadKey;
using platform::SdlGamepads;
using Keys = std::vector<PadKey>;

constexpr int kTab = 9, kEnter = 13, kShift = 16, kEscape = 27;
constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

class SdlGamepadsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_TRUE(pads.Open()) << SDL_GetError();
        Drain();
    }
    void TearDown() override {
        for (SDL_Joystick* j : sticks) {
            const SDL_JoystickID id = SDL_JoystickInstanceID(j);
            SDL_JoystickClose(j);
            for (int i = 0; i < SDL_NumJoysticks(); ++i)
                if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        }
    }
    // A virtual controller with every button and axis a standard pad has.
    SDL_Joystick* Plug() {
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                    SDL_CONTROLLER_BUTTON_MAX, 0);
        EXPECT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* j = SDL_JoystickOpen(index);
        EXPECT_NE(j, nullptr) << SDL_GetError();
        sticks.push_back(j);
        Drain();
        return j;
    }
    void Unplug(SDL_Joystick* j) {
        const SDL_JoystickID id = SDL_JoystickInstanceID(j);
        SDL_JoystickClose(j);
        std::erase(sticks, j);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    // Everything SDL has queued, through the pads; the keys they stood for.
    Keys Drain() {
        Keys keys;
        SDL_Event e;
        SDL_PumpEvents();
        while (SDL_PollEvent(&e)) pads.Translate(e, keys);
        return keys;
    }
    Keys Button(SDL_Joystick* j, int button, bool down) {
        SDL_JoystickSetVirtualButton(j, button, down ? 1 : 0);
        return Drain();
    }
    Keys Axis(SDL_Joystick* j, int axis, int value) {
        SDL_JoystickSetVirtualAxis(j, axis, static_cast<Sint16>(value));
        return Drain();
    }

    SdlGamepads pads;
    std::vector<SDL_Joystick*> sticks;
};

TEST_F(SdlGamepadsTest, EachButtonPressesAndReleasesItsKey) {
    const struct {
        const char* what;
        int button;
        Keys down, up;
    } cases[] = {
        {"d-pad left", SDL_CONTROLLER_BUTTON_DPAD_LEFT, {{kLeft, true}}, {{kLeft, false}}},
        {"d-pad right", SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {{kRight, true}}, {{kRight, false}}},
        {"d-pad up", SDL_CONTROLLER_BUTTON_DPAD_UP, {{kUp, true}}, {{kUp, false}}},
        {"d-pad down", SDL_CONTROLLER_BUTTON_DPAD_DOWN, {{kDown, true}}, {{kDown, false}}},
        {"A", SDL_CONTROLLER_BUTTON_A, {{kEnter, true}}, {{kEnter, false}}},
        {"B", SDL_CONTROLLER_BUTTON_B, {{kEscape, true}}, {{kEscape, false}}},
        {"Start", SDL_CONTROLLER_BUTTON_START, {{'P', true}}, {{'P', false}}},
        {"right shoulder", SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, {{kTab, true}}, {{kTab, false}}},
        {"left shoulder", SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {{kShift, true}, {kTab, true}},
         {{kTab, false}, {kShift, false}}},
        {"X stands for nothing", SDL_CONTROLLER_BUTTON_X, {}, {}},
    };
    SDL_Joystick* pad = Plug();
    ASSERT_EQ(pads.Count(), 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Button(pad, c.button, true), c.down);
        EXPECT_EQ(Button(pad, c.button, false), c.up);
    }
}

// One push is one press however the stick trembles: past the outer threshold it presses, it lets go
// only under the inner one, and a swing to the other side lets one arrow go before the other comes.
TEST_F(SdlGamepadsTest, TheStickPressesOncePerPushWithADeadZoneAndHysteresis) {
    const int in = SdlGamepads::kPushed, out = SdlGamepads::kReleased;
    const struct {
        const char* what;
        int axis;
        std::vector<int> values;
        Keys keys;
    } cases[] = {
        {"inside the dead zone", SDL_CONTROLLER_AXIS_LEFTX, {out, in - 1, -(in - 1), 0}, {}},
        {"a push right and back", SDL_CONTROLLER_AXIS_LEFTX, {in, 32767, in, out, out - 1},
         {{kRight, true}, {kRight, false}}},
        {"trembling at the edge", SDL_CONTROLLER_AXIS_LEFTX, {in, in - 1000, in, out + 1, in, 0},
         {{kRight, true}, {kRight, false}}},
        {"a swing from left to right", SDL_CONTROLLER_AXIS_LEFTX, {-in, in, 0},
         {{kLeft, true}, {kLeft, false}, {kRight, true}, {kRight, false}}},
        {"up and down", SDL_CONTROLLER_AXIS_LEFTY, {-32768, 0, 32767, 0},
         {{kUp, true}, {kUp, false}, {kDown, true}, {kDown, false}}},
        {"the right stick stands for nothing", SDL_CONTROLLER_AXIS_RIGHTX, {32767, 0}, {}},
    };
    SDL_Joystick* pad = Plug();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Keys keys;
        for (int v : c.values) {
            const Keys got = Axis(pad, c.axis, v);
            keys.insert(keys.end(), got.begin(), got.end());
        }
        EXPECT_EQ(keys, c.keys);
    }
}

TEST_F(SdlGamepadsTest, PadsPluggedInLaterAllWorkAndOnePulledOutLetsGoOfWhatItHeld) {
    SDL_Joystick* first = Plug();
    SDL_Joystick* second = Plug();
    EXPECT_EQ(pads.Count(), 2);
    EXPECT_EQ(Button(second, SDL_CONTROLLER_BUTTON_A, true), (Keys{{kEnter, true}}));
    EXPECT_EQ(Button(first, SDL_CONTROLLER_BUTTON_B, true), (Keys{{kEscape, true}}));
    EXPECT_EQ(Axis(second, SDL_CONTROLLER_AXIS_LEFTX, -32768), (Keys{{kLeft, true}}));
    Unplug(second);
    // Both it held go up: the arrow of its stick and the Enter of its A.
    const Keys released = Drain();
    EXPECT_EQ(released.size(), 2u);
    EXPECT_NE(std::find(released.begin(), released.end(), PadKey{kLeft, false}), released.end());
    EXPECT_NE(std::find(released.begin(), released.end(), PadKey{kEnter, false}), released.end());
    EXPECT_EQ(pads.Count(), 1);
    EXPECT_EQ(Button(first, SDL_CONTROLLER_BUTTON_B, false), (Keys{{kEscape, false}}));
}

}  // namespace
