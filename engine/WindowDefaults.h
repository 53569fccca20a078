#pragma once
#include <cstdint>

// What the next OWindow looks like. Process-wide; the program entry sets them before creating its
// window, a dialog before creating itself. Read by the OWindow constructor on the main thread.
struct WindowDefaults {
    uint32_t background = 0;  // colour value 0x00BBGGRR
    int style = 4;            // bit 0: no caption/system menu; bit 1: no sizing frame; bit 2: thin frame
    int width = 800;          // outer size; 0 means the screen's
    int height = 600;
    int placement = 15;  // bits 0/1 horizontal, 2/3 vertical: start, far edge, both = centred

    static WindowDefaults& Current();
};
