#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

// The game's key code (Left 37 ... Down 40, letters 65-90) of an SDL key code, 0 for keys the
// program does not know.
int VirtualKeyFromSdl(int32_t sdlKey);
// The same for a key given by its SDL name ("Left", "A", "Return"), so callers outside the
// platform layer never need SDL's key codes.
int VirtualKeyForKeyName(const char* name);
// The character a key types as control character (Enter 13, Backspace 8, Tab 9, Escape 27), or 0:
// SDL's text input carries printable characters only.
int ControlCharForVirtualKey(int vk);
// UTF-8 text converted to Windows-1252 bytes; characters that code page cannot hold are dropped.
std::vector<uint8_t> Utf8ToCp1252(std::string_view text);

}  // namespace platform
