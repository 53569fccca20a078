#pragma once
// The game's state log as an end-to-end test follows it: the program appends one line of JSON per
// frame step to the file MARSHWADE_STATE_LOG names; StateLog reads what was added since it last
// looked and keeps the newest complete line, parsed into the fields a test steers and checks by.
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

// One line of the state log.
struct View {
    std::string line;
    int frame = 0, score = 0, levelPoints = 0, level = 0, living = 0, column = -1, row = -1;
    int islands = 0, pending = 0, skill = 0;
    std::string state, pond;  // the map without its row separators, 8 x 6
    std::vector<std::array<int, 2>> flies;

    // What the map shows on a cell: '.' water (also off the grid), 'E', 'I', or a leaf's frames left.
    char At(int c, int r) const {
        if (c < 0 || c >= 8 || r < 0 || r >= 6 || pond.size() != 48) return '.';
        return pond[static_cast<size_t>(r * 8 + c)];
    }
    bool HasFly(int c, int r) const {
        for (const auto& f : flies)
            if (f[0] == c && f[1] == r) return true;
        return false;
    }
    bool Resting() const { return state == "Resting" && column >= 0; }
    // The islet's cell, if one is afloat.
    std::optional<std::array<int, 2>> Islet() const {
        const size_t at = pond.find('I');
        if (at == std::string::npos) return std::nullopt;
        return std::array<int, 2>{static_cast<int>(at % 8), static_cast<int>(at / 8)};
    }

    // A line as the game writes it; a field it lacks reads as -999 (numbers) or empty.
    static View Parse(const std::string& line) {
        View v;
        v.line = line;
        v.frame = Number(line, "frame");
        v.score = Number(line, "score");
        v.levelPoints = Number(line, "levelPoints");
        v.level = Number(line, "level");
        v.living = Number(line, "living");
        v.islands = Number(line, "islands");
        v.pending = Number(line, "pending");
        v.skill = Number(line, "skill");
        v.state = Text(line, "state");
        for (char c : Text(line, "pond"))
            if (c != '/') v.pond.push_back(c);
        if (const size_t cell = line.find("\"cell\":["); cell != std::string::npos)
            std::sscanf(line.c_str() + cell + 8, "%d,%d", &v.column, &v.row);
        if (const size_t flies = line.find("\"flies\":["); flies != std::string::npos) {
            std::istringstream in(line.substr(flies + 9));
            char open = 0, comma = 0, close = 0;
            std::array<int, 2> cell{};
            while (in >> open && open == '[' && in >> cell[0] >> comma >> cell[1] >> close) {
                v.flies.push_back(cell);
                if (!(in >> comma) || comma != ',') break;
            }
        }
        return v;
    }

  private:
    static int Number(const std::string& line, const std::string& key) {
        const size_t at = line.find("\"" + key + "\":");
        return at == std::string::npos ? -999 : std::atoi(line.c_str() + at + key.size() + 3);
    }
    static std::string Text(const std::string& line, const std::string& key) {
        const size_t at = line.find("\"" + key + "\":\"");
        if (at == std::string::npos) return {};
        const size_t start = at + key.size() + 4;
        return line.substr(start, line.find('"', start) - start);
    }
};

// Follows the state log as the game appends to it.
class StateLog {
  public:
    explicit StateLog(std::string path) : path_(std::move(path)) {}

    // Reads what was added since the last call; false when no complete line was added. Every line
    // read is kept in `added`: a state that lasts a frame step or two (a frog leaping in) is seen
    // even when the test looks less often than the game steps.
    bool Poll() {
        added.clear();
        std::ifstream in(path_, std::ios::binary);
        if (!in) return false;
        in.seekg(offset_);
        std::ostringstream read;
        read << in.rdbuf();
        const std::string chunk = read.str();
        const size_t end = chunk.rfind('\n');
        if (end == std::string::npos) return false;
        offset_ += static_cast<std::streamoff>(end + 1);
        for (size_t start = 0; start <= end;) {
            const size_t stop = chunk.find('\n', start);
            added.push_back(View::Parse(chunk.substr(start, stop - start)));
            start = stop + 1;
        }
        last = added.back();
        return true;
    }

    // Waits (up to ten seconds) for a frame step whose line `wanted` accepts.
    template <typename F>
    bool WaitFor(F wanted) {
        for (int i = 0; i < 500; ++i) {
            if (Poll()) {
                for (const View& v : added)
                    if (wanted(v)) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    std::vector<View> added;  // the lines the last Poll read, oldest first
    View last;                // the newest complete line read

  private:
    std::string path_;
    std::streamoff offset_ = 0;
};

}  // namespace e2e
