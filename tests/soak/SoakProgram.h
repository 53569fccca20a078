#pragma once
// The program folder a soak plays in, for as long as the object lives: the generated pictures and
// sounds of the build folder linked in, a settings file of the soak's choosing, and the saved files
// (table.dat, state.dat) in a temporary folder of the soak's own, so no player's files are touched.
#include "tests/support/PlayFolder.h"
#include "tools/replay/ReplaySession.h"

class SoakProgram {
  public:
    // The text of INI/Quillmoss.ini for the next start; null leaves no file (the defaults).
    void UseSettings(const char* text) { folder_.UseSettings(text); }

  private:
    // Made after the folder and gone before it.
    PlayFolder folder_{"marshwade-soak"};
    PrivateSavedFiles savedFiles_;
};
