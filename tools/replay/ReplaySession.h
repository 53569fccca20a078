#pragma once
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "windows/HeadlessWindows.h"
#include "platform/HeadlessPlatform.h"
#include "platform/HeadlessSoundPlayer.h"
#include "platform/TempFolder.h"
#include "tools/replay/ReplayScript.h"

class OGameWindow;

// The real game without a display: the headless platform, a clock that moves 20 ms per frame step
// (and on by a sound's length while a game sound plays), the given seed, and the generated pictures
// and sounds beside the program. The replay tool and the game's scenario tests both drive the game
// through it, so a scenario plays exactly as the tool shows it.
//
// One session at a time per process (it installs the process-wide platform and sound player). The
// calling thread plays the main thread and steps the game window itself.
class ReplaySession {
  public:
    explicit ReplaySession(uint32_t seed);
    ~ReplaySession();
    ReplaySession(const ReplaySession&) = delete;
    ReplaySession& operator=(const ReplaySession&) = delete;

    // Builds the game window; false when a picture could not be read.
    bool Start();
    // Input as the window in front (the newest dialog open, else the game window) would receive it
    // from the main thread's event loop; a click in that window's own pixels.
    void Key(int code);
    void Click(int x, int y, int button = 1);
    void Focus(bool on);
    // Moves the clock on by one frame period, runs one frame step of the game window and delivers
    // what it posted.
    void StepFrame();
    // The dialogs' game threads, one pass (HeadlessWindows::StepDialogs).
    void StepDialogs();

    // One JSON object describing the game after the last step (StateTrace::Line), with the dialog
    // in front.
    std::string StateLine();
    int Frame() const { return frame_; }
    OGameWindow* Window() const { return window_; }
    platform::HeadlessPlatform& Os() { return os_; }
    platform::HeadlessSoundPlayer& Sound() { return sound_; }
    HeadlessWindows& Windows() { return windows_; }

  private:
    // The window in front, its list brought up to date first.
    OWindow* Front();

    platform::HeadlessPlatform os_{1024, 768};
    platform::HeadlessSoundPlayer sound_{os_.Manual()};
    platform::SoundPlayer* previousSound_ = nullptr;
    HeadlessWindows windows_{os_};
    OGameWindow* window_ = nullptr;
    int frame_ = 0;
};

// While it lives, the process saves and loads table.dat and state.dat in a fresh folder of its own
// (removed at the end): a game a player saved never changes what a seed and a script give.
class PrivateSavedFiles {
  public:
    PrivateSavedFiles();
    ~PrivateSavedFiles();
    PrivateSavedFiles(const PrivateSavedFiles&) = delete;
    PrivateSavedFiles& operator=(const PrivateSavedFiles&) = delete;

  private:
    platform::TempFolder folder_{"marshwade-replay"};
};

// Writes the game window's picture (750 x 550) as a binary PPM file.
bool WriteWindowPpm(const OGameWindow& window, const std::string& path);

// Plays `inputs` on a new session for `frames` frame steps, writing one state line per step (the
// inputs of a frame are given before its step). Returns false when the game could not start.
bool RunReplay(uint32_t seed, int frames, const std::vector<ScriptInput>& inputs, std::ostream& out);
