#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/FontRecord.h"

class OWindow;
class OText;

// The layout record with which dialogs place running text: LayOut breaks a text into words, makes
// one OText per word in the record's font, adds them to the window and flows them into the band from
// `left` to `right`, aligned by `align` (1 left, 3 centred, anything else right). The record moves on
// with every call, so consecutive calls continue on the next line.
//
// A plain record: copy it freely. The words belong to the window (released at its Stop).
struct OLongText {
    explicit OLongText(OWindow* targetWindow);

    // Lays `text` out from (x, y) and returns the words it added (empty for an empty text or without
    // a window). Takes the window's lock for the whole layout.
    std::vector<OText*> LayOut(const std::string& text);
    // Gives `text` the record's font.
    void ApplyFont(OText& text) const;

    int32_t x = 0;
    int32_t y = 0;
    int32_t left = 0;
    int32_t right = 0;
    int32_t top = 0;
    int32_t bottom = 0;
    graphics::FontRecord font;
    int32_t align = 1;
    OWindow* window = nullptr;
};
