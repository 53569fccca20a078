#pragma once
// The saved game across a quit and the next start: what the game held when it saved on the confirmed
// quit is what the next start reads back. With AutoSave on the options come back, and so does the
// game in progress (level, score, level points, islands, lives) when the pond it starts with has as
// many islands and room for as many lives; with AutoSave off nothing is continued and AutoSave stays
// off.
//
// Reads the process-wide game state; call it between frame steps.
#include <cstdint>
#include <string>
#include <vector>

#include "storage/SavedState.h"

class SoakSavedGame {
  public:
    // Just before the frame step that may act on a confirmed quit: what a save would write now.
    void Snapshot();
    // The game window closed after that step, having saved.
    void Saved() {
        saved_ = true;
        state_ = snapshot_;
    }
    // The game window closed some other way: the file holds what an earlier quit left, if anything.
    void NotSaved() {}
    // At the next start, once the game has been built: what does not agree with the save.
    std::vector<std::string> CheckStart();

  private:
    bool saved_ = false;   // the last run saved on its quit
    bool known_ = false;   // the file holds a save the soak knows
    SavedState snapshot_;  // what a save would write at the last confirmed quit
    SavedState state_;     // what the last save wrote
};
