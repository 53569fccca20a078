#pragma once
// The soak: the real game, headless, played by a seeded stream of random input for as many frame
// steps as asked, with every invariant checked after every step. The game runs in a program folder
// of the soak's own (the generated pictures and sounds, a settings file chosen for each run) and
// saves its table and state in a temporary folder of the soak's own. When the player quits, the
// program is started again, as a player would, and reads what it saved.
//
// The calling thread plays the main thread and every window's game thread: each step delivers the
// step's input, runs one frame step of the game window (20 ms of game time) and of every dialog, and
// tears down the windows that have closed. The same seed plays the same game, step for step.
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/soak/SoakInvariants.h"
#include "tests/soak/SoakProgram.h"
#include "tests/soak/SoakSavedGame.h"

class OWindow;
class OGameWindow;
class ReplaySession;
class SoakInput;

struct SoakFigures {
    int64_t steps = 0;
    int64_t runs = 0;       // program starts
    int64_t games = 0;      // games begun: at each start and each new game
    int64_t levels = 0;     // levels completed (the level-completed dialog)
    int64_t gamesLost = 0;  // the name dialog after the last frog
    int64_t restored = 0;   // starts that continued a saved game
    int64_t inputs = 0;     // events delivered
    int64_t dialogs = 0;    // dialogs opened
    std::map<std::string, int64_t> dialogsByKind;
    std::map<std::string, int64_t> runsByProfile;
    int32_t bestLevel = 0;
    int32_t bestScore = 0;
    double seconds = 0;

    void Add(const SoakFigures& other);
    std::string Text() const;
};

class SoakDriver {
  public:
    explicit SoakDriver(uint32_t seed);
    ~SoakDriver();
    SoakDriver(const SoakDriver&) = delete;
    SoakDriver& operator=(const SoakDriver&) = delete;

    // Plays `steps` more frame steps. False at the first broken invariant (or a game that cannot
    // start), with `failure` naming the seed and the step, so the run can be played again up to it.
    bool Run(int64_t steps, std::string& failure);
    const SoakFigures& Figures() const { return figures_; }

  private:
    enum class Mood { Quiet, Pilot, Busy, Storm };

    bool StartRun(std::string& failure);
    void EndRun();
    void Act();
    void ActOnDialog(OWindow& dialog);
    void StepWindows();
    void RefreshWindows();
    // The game window first, then the dialogs, oldest first; none between runs.
    const std::vector<OWindow*>& Windows() const;
    void Count();
    void ChangeMood();
    // Adds the inputs the current hands delivered since they were last counted.
    void TallyInputs();
    int Below(int n) { return static_cast<int>(random_() % static_cast<uint32_t>(n)); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    OGameWindow* Game() const;

    uint32_t seed_;
    std::mt19937 random_;
    bool trace_;         // MARSHWADE_SOAK_TRACE set: every step and input on standard error
    std::string shots_;  // MARSHWADE_SOAK_SHOTS: the folder the windows' pictures go to
    SoakProgram program_;
    std::unique_ptr<ReplaySession> session_;
    std::unique_ptr<SoakInput> input_;
    std::vector<const OWindow*> seenDialogs_;
    SoakInvariants invariants_;
    SoakSavedGame savedGame_;
    std::vector<std::string> startBroken_;  // what the last start found wrong, reported with its first step
    SoakFigures figures_;
    Mood mood_ = Mood::Pilot;
    int64_t moodLeft_ = 0;
    int64_t runStep_ = 0;
    int64_t inputsTallied_ = 0;
    int32_t lastPending_ = 0;
    int32_t lastScore_ = 0;
    int32_t lastLevel_ = 0;
};
