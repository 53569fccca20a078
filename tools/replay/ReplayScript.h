#pragma once
#include <string>
#include <string_view>
#include <vector>

// One timed input of a replay script: `FRAME key NAME`, `FRAME click X Y`, `FRAME rclick X Y`,
// `FRAME focus on|off`. NAME is Left, Right, Up, Down, Space, P, Escape, Enter, Tab or a key code.
// `FRAME shot FILE` writes the window's picture after that frame's step as a PPM file. Keys and
// clicks go to the window in front; X and Y are in that window's own pixels.
struct ScriptInput {
    int frame = 0;
    enum class Kind { Key, Click, RightClick, Focus, Shot } kind = Kind::Key;
    int code = 0;  // key code, or 1/0 for focus on/off
    int x = 0;
    int y = 0;
    std::string file;
};

// The last frame a script may name: as many as the tool can be asked to play.
constexpr int kLastScriptFrame = 100000000;

// Reads a script; blank lines and lines starting with '#' are skipped. False with the line number
// and reason in `error` on the first bad line, `inputs` then as it was. Needs no game: the bytes of
// a script file as they are, whatever they hold.
bool ParseScript(std::string_view text, std::vector<ScriptInput>& inputs, std::string& error);
