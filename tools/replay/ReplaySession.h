#pragma once
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/HeadlessPlatform.h"
#include "platform/HeadlessSoundPlayer.h"
#include "platform/TempFolder.h"

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
    // Input as the window would receive it from the main thread's event loop.
    void Key(int code);
    void Click(int x, int y, int button = 1);
    void Focus(bool on);
    // Moves the clock on by one frame period, runs one frame step and delivers what it posted.
    void StepFrame();

    // One JSON object describing the game after the last step (StateTrace::Line).
    std::string StateLine() const;
    int Frame() const { return frame_; }
    OGameWindow* Window() const { return window_; }
    platform::HeadlessPlatform& Os() { return os_; }
    platform::HeadlessSoundPlayer& Sound() { return sound_; }

  private:
    void Send(platform::NativeEventType type, int code, int x, int y);

    platform::HeadlessPlatform os_{1024, 768};
    platform::HeadlessSoundPlayer sound_{os_.Manual()};
    platform::SoundPlayer* previousSound_ = nullptr;
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

// One timed input of a replay script: `FRAME key NAME`, `FRAME click X Y`, `FRAME rclick X Y`,
// `FRAME focus on|off`. NAME is Left, Right, Up, Down, Space, P, Escape, Enter, Tab or a key code.
// `FRAME shot FILE` writes the window's picture after that frame's step as a PPM file.
struct ScriptInput {
    int frame = 0;
    enum class Kind { Key, Click, RightClick, Focus, Shot } kind = Kind::Key;
    int code = 0;  // key code, or 1/0 for focus on/off
    int x = 0;
    int y = 0;
    std::string file;
};

// Writes the game window's picture (750 x 550) as a binary PPM file.
bool WriteWindowPpm(const OGameWindow& window, const std::string& path);

// Reads a script; blank lines and lines starting with '#' are skipped. False with the line number
// and reason in `error` on the first bad line.
bool ParseScript(std::string_view text, std::vector<ScriptInput>& inputs, std::string& error);

// Plays `inputs` on a new session for `frames` frame steps, writing one state line per step (the
// inputs of a frame are given before its step). Returns false when the game could not start.
bool RunReplay(uint32_t seed, int frames, const std::vector<ScriptInput>& inputs, std::ostream& out);
