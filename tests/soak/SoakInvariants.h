#pragma once
// What must hold after every step of the game, whatever the player did: the windows' scenes and the
// set of live drawables agree, every count stays within its bounds, every pond creature stands on its
// cell or at its parking place, no two afloat pond objects share a cell, the score and the level never
// fall within a game, the pending-dialog value is one of those the game defines, the game never
// waits for a dialog that is not open, each level is completed once and each game over asked once,
// and a quit the player confirmed is carried out.
//
// Reads the process-wide game state and the windows it is given; call it on the thread that plays
// the main thread, between steps (no window may be composing or handling an event meanwhile).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class OGameWindow;
class OWindow;

class SoakInvariants {
  public:
    // A new run of the program: a fresh game window whose score and level start from wherever the
    // saved state puts them.
    void BeginRun();

    // Every window that exists, the game window among them (or none once it is gone). Returns what is
    // broken, one line each; empty when everything holds.
    std::vector<std::string> Check(const std::vector<OWindow*>& windows, const OGameWindow* game);

    // The pond and its creatures alone (no windows), for checks on a game laid out by hand.
    static std::vector<std::string> CheckPond();

    // The window's picture, composed step by step from the areas its drawables reported, against the
    // picture drawn afresh from its whole scene: a change that reported too little leaves stale
    // pixels behind. Composes the window (twice); empty when the two pictures agree.
    static std::vector<std::string> CheckPicture(OWindow& window);

  private:
    void CheckScene(const std::vector<OWindow*>& windows, const OGameWindow* game,
                    std::vector<std::string>& out);
    void CheckCounts(const std::vector<OWindow*>& windows, const OGameWindow* game,
                     std::vector<std::string>& out);
    void CheckProgress(const OGameWindow& game, std::vector<std::string>& out);
    void CheckDialogFlow(const std::vector<OWindow*>& windows, const OGameWindow* game,
                         std::vector<std::string>& out);

    bool started_ = false;
    int32_t lastScore_ = 0;
    int32_t lastLevel_ = 0;
    int32_t lastPending_ = 0;
    // The quit dialog was answered yes: the game must close before anything else happens to it.
    bool quitConfirmed_ = false;
    // Steps the game could have run while it waited for a dialog that is not open.
    int stalled_ = 0;
    // The dialogs seen so far, to know a new one when it opens.
    std::vector<const OWindow*> dialogs_;
    // The level whose completion was last shown in this game (-1: none yet); a level is completed once.
    int32_t completedLevel_ = -1;
    // A frog has lived since the last name dialog opened: a game over is asked once.
    bool livedSinceGameOver_ = true;
    // The game window's scene once the game has been built: it never grows during play.
    size_t gameGraphics_ = 0;
    size_t gameControls_ = 0;
};
