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

    void BuildContents() override;

  protected:
    ~OWndHelp() override = default;

  private:
    void AddSamples();
    void AddText();
};
