#pragma once
#include <cstdint>

#include "ui/OWndYesNo.h"

struct OLongText;

// The level-completed dialog: the level's points, the bonus (twice the points, credited to the
// game's score as the dialog is built), whether a bonus frog is awarded (shown only when frogs are
// missing) and the new total, with a Play button. Play or Escape closes it; the game starts the next
// level whatever the answer.
//
// The game window sets bonusFrog and levelPoints before Start. Threads and ownership as every
// OWndYesNo; the score is changed on the main thread while the game window stands still.
class ONewLevel final : public OWndYesNo {
  public:
    explicit ONewLevel(OWindow* parent);

    void BuildContents() override;

    bool bonusFrog = false;
    int32_t levelPoints = 0;

  protected:
    ~ONewLevel() override = default;

  private:
    // One text of the table, laid out with `text` from (x, y) with the alignment.
    void Row(OLongText& text, const char* words, int32_t x, int32_t y, int32_t align);
};
