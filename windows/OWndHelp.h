#pragma once
#include "ui/OWndYesNo.h"

// The rules of the game: running text in 18-pixel Arial, two rows of the pond's creatures with their
// point values (the heart held still), and a Play button in the lower right corner that closes it.
// Play and Escape both answer 2; the game does nothing with the answer.
//
// Threads and ownership as every OWndYesNo.
class OWndHelp final : public OWndYesNo {
  public:
    explicit OWndHelp(OWindow* parent);

    // The window's size. Two lines of the text ("... So, you" and "... When only") measure up to 575
    // pixels in 18-pixel Arial; in a window of 580, whose text band starts at 30, their last words
    // would wrap and push the text over the pictures. At 640 every line fits, clear of the right shore.
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 540;

    void BuildContents() override;

  protected:
    ~OWndHelp() override = default;

  private:
    void AddSamples();
    void AddText();
};
