#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "storage/TScoresTable.h"

class OText;
class OWindow;

// Why a score dialog could not do what the player asked: a short text in a small dark-red font,
// centred in a band of the dialog between its question and its buttons. The dialog stays open under
// it, so the player reads it and then answers again (Yes tries once more, No or Escape gives up).
// Showing another text replaces the one shown. Main thread, under the dialog's lock (its handlers).
class FailureNote {
  public:
    static constexpr int32_t kFontHeight = 17;
    static constexpr uint32_t kColour = 0x000090;  // COLORREF: dark red

    // `lead` says what did not happen ("Your result could not be recorded"); the reason follows from
    // `update`. Lays it out from y = top within `margin` of either side of the window.
    void Show(OWindow& window, const std::string& lead, TableUpdate update, int32_t top, int32_t margin);
    // The text shown; empty while none is.
    const std::string& Text() const { return text_; }
    // The words on screen, for a test to see where they stand.
    const std::vector<OText*>& Words() const { return words_; }

  private:
    std::string text_;
    std::vector<OText*> words_;
};
