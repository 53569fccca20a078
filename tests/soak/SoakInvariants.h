#pragma once
// What must hold after every step of the game, whatever the player did: the windows' scenes and the
// set of live drawables agree, every count stays within its bounds, every pond creature stands on its
// cell or at its parking place, no two afloat pond objects share a cell, the score and the level never
// fall within a game, the pending-dialog value is one of those the game defines, and a quit the player
// confirmed is carried out.
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

  private:
    void CheckScene(const std::vector<OWindow*>& windows, const OGameWindow* game,
                    std::vector<std::string>& out);
    void CheckCounts(const std::vector<OWindow*>& windows, const OGameWindow* game,
                     std::vector<std::string>& out);
    void CheckProgress(std::vector<std::string>& out);

    bool started_ = false;
    int32_t lastScore_ = 0;
    int32_t lastLevel_ = 0;
    // The quit dialog was answered yes: the game must close before anything else happens to it.
    bool quitConfirmed_ = false;
    // The game window's scene once the game has been built: it never grows during play.
    size_t gameGraphics_ = 0;
    size_t gameControls_ = 0;
};
