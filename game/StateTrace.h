#pragma once
#include <cstdio>
#include <memory>
#include <string>

// The running game as one line of text, a JSON object: the frame, score, level, lives, the player's
// frog, the islands, the red frogs on the grid, the pending dialog and the pause (the replay tool's
// fields, in its order), the dialog in front, then the skill, a map of the pond and the cells of the
// resting flies.
//
// The map holds the six rows from the top, separated by '/', one character per cell: '.' open water,
// 'E' the entry island, 'I' another island afloat, '1' to '9' a leaf with that many frames left before
// it goes under (9 for nine or more).
//
// The replay tool prints one line per frame step. The real program appends one per frame step to the
// file MARSHWADE_STATE_LOG names, so that a test driving it in a real window can steer by what the
// pond holds instead of guessing from timing. Off by default: without the variable nothing is
// formatted or written.
//
// Threads: Line reads the game state and Write calls it, so both run under the game window's lock
// (its frame step).
class StateTrace {
  public:
    // The line for the game as it stands after frame step `frame`, without a line end; `dialog`
    // names the dialog in front ("" for none). The program's own log always says none: the game
    // window writes it from its frame step, and that stands still while a dialog is over it.
    static std::string Line(int frame, const char* dialog = "");

    // The trace MARSHWADE_STATE_LOG asks for: none when it is unset or empty, or when its file cannot
    // be created (said on standard error).
    static std::unique_ptr<StateTrace> FromEnvironment();

    // Appends to `file` (truncated), which this trace then owns.
    explicit StateTrace(std::FILE* file);
    ~StateTrace();
    StateTrace(const StateTrace&) = delete;
    StateTrace& operator=(const StateTrace&) = delete;

    // Appends the line of the next frame step. Each line is flushed whole, so a reader polling the
    // file finds complete lines up to its last line end.
    void Write();

  private:
    std::FILE* file_;
    int frames_ = 0;
};
