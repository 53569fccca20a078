#pragma once

// Input codes as the window hands them to OnPress and OnRelease: the game's key codes, with
// the mouse buttons under their own codes. The game, the controls and the tests name them here.
namespace vk {
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;
constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kShift = 16;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kDelete = 46;

constexpr bool IsMouseButton(int code) {
    return code == kLeftButton || code == kRightButton || code == kMiddleButton;
}
}  // namespace vk
