#include "platform/VirtualKeys.h"

#include <SDL.h>

namespace platform {

int VirtualKeyFromSdl(int32_t sdlKey) {
    if (sdlKey >= 'a' && sdlKey <= 'z') return sdlKey - 'a' + 65;
    if (sdlKey >= '0' && sdlKey <= '9') return sdlKey;
    if (sdlKey >= SDLK_F1 && sdlKey <= SDLK_F12) return 112 + (sdlKey - SDLK_F1);
    if (sdlKey >= SDLK_KP_1 && sdlKey <= SDLK_KP_9) return 97 + (sdlKey - SDLK_KP_1);
    switch (sdlKey) {
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 16;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return 17;
        case SDLK_LALT:
        case SDLK_RALT:
            return 18;
        case SDLK_PAUSE:
            return 19;
        case SDLK_ESCAPE:
            return 27;
        case SDLK_SPACE:
            return 32;
        case SDLK_PAGEUP:
            return 33;
        case SDLK_PAGEDOWN:
            return 34;
        case SDLK_END:
            return 35;
        case SDLK_HOME:
            return 36;
        case SDLK_LEFT:
            return 37;
        case SDLK_UP:
            return 38;
        case SDLK_RIGHT:
            return 39;
        case SDLK_DOWN:
            return 40;
        case SDLK_INSERT:
            return 45;
        case SDLK_DELETE:
            return 46;
        case SDLK_KP_0:
            return 96;
        default:
            return 0;
    }
}

int VirtualKeyForKeyName(const char* name) {
    return VirtualKeyFromSdl(SDL_GetKeyFromName(name));
}

int ControlCharForVirtualKey(int vk) {
    switch (vk) {
        case 8:
        case 9:
        case 13:
        case 27:
            return vk;
        default:
            return 0;
    }
}

namespace {
// Windows-1252 bytes 0x80..0x9F that stand for characters outside Latin-1.
constexpr uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int ToCp1252(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] != 0 && kHigh[i] == cp) return 0x80 + i;
    }
    return -1;
}
}  // namespace

std::vector<uint8_t> Utf8ToCp1252(std::string_view text) {
    std::vector<uint8_t> out;
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t b = static_cast<uint8_t>(text[i]);
        int extra = b < 0x80             ? 0
                    : (b & 0xE0) == 0xC0 ? 1
                    : (b & 0xF0) == 0xE0 ? 2
                    : (b & 0xF8) == 0xF0 ? 3
                                         : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= text.size() + (extra == 0 ? 1 : 0)) {
            ++i;  // a stray or cut-off byte
            continue;
        }
        uint32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const uint8_t c = static_cast<uint8_t>(text[i + static_cast<size_t>(k)]);
            if ((c & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        i += ok ? static_cast<size_t>(extra) + 1 : 1;
        if (!ok) continue;
        int byte = ToCp1252(cp);
        if (byte >= 0) out.push_back(static_cast<uint8_t>(byte));
    }
    return out;
}

}  // namespace platform
