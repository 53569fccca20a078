#include "game/StateTrace.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "game/GameSettings.h"
#include "game/GameState.h"
#include "game/PondGrid.h"
#include "game/PondRules.h"

namespace {

const char* StateName(int32_t state) {
    static const char* const kNames[] = {"Moving", "Leaping", "Dead", "Resting", "Pushed"};
    return state >= 0 && state <= 4 ? kNames[state] : "?";
}

// What each cell of the grid holds, row by row from the top.
std::string PondMap() {
    const pond::Geometry& geometry = pond::TheGeometry();
    const GameState& g = TheGameState();
    const int32_t columns = geometry.columns, rows = geometry.rows;
    std::string cells(static_cast<size_t>(columns * rows), '.');
    auto mark = [&](int32_t c, int32_t r, char what) {
        if (pond::InGrid(c, r)) cells[static_cast<size_t>(r * columns + c)] = what;
    };
    // Leaves first: an island drawn over a leaf on its cell is what a frog lands on.
    for (const auto& object : g.pond) {
        if (object->IsIsland() || object->IsGone() || object->state == OLeave::kWaiting) continue;
        const int32_t left = std::min(9, object->FrameCount() - 1 - object->Frame());
        mark(object->CellX(), object->CellY(), static_cast<char>('0' + left));
    }
    for (int32_t i = 0; i < pond::IslandCount(); ++i) {
        const OLeave& island = *g.pond[static_cast<size_t>(i)];
        if (island.IsGone()) continue;
        mark(island.CellX(), island.CellY(), &island == g.entryIsland ? 'E' : 'I');
    }
    std::string map;
    for (int32_t r = 0; r < rows; ++r) {
        if (r > 0) map += '/';
        map.append(cells, static_cast<size_t>(r * columns), static_cast<size_t>(columns));
    }
    return map;
}

std::string RestingFlies() {
    std::string list = "[";
    for (const auto& flyer : TheGameState().flyers) {
        if (flyer->IsSun() || flyer->state != OFly::kResting || !flyer->IsShown()) continue;
        if (!pond::InGrid(flyer->CellX(), flyer->CellY())) continue;
        if (list.size() > 1) list += ',';
        // Appended piece by piece: GCC 12 at -O3 takes "[" + a temporary for an overlapping copy.
        list += '[';
        list += std::to_string(flyer->CellX());
        list += ',';
        list += std::to_string(flyer->CellY());
        list += ']';
    }
    return list + "]";
}

}  // namespace

std::string StateTrace::Line(int frame, const char* dialog) {
    const GameState& g = TheGameState();
    const GameSettings& s = TheGameSettings();
    int redOnGrid = 0;
    for (const auto& red : g.redFrogs) {
        if (!red->IsDead() && red->CellX() >= 0 && red->CellY() >= 0) ++redOnGrid;
    }
    const OFrog* p = g.player;
    std::ostringstream line;
    line << "{\"frame\":" << frame << ",\"score\":" << g.score << ",\"levelPoints\":" << g.levelPoints
         << ",\"level\":" << s.levelNumber << ",\"difficulty\":" << s.difficultyLevel
         << ",\"living\":" << pond::LivingFrogs() << ",\"cell\":[" << (p ? p->CellX() : -1) << ","
         << (p ? p->CellY() : -1) << "],\"state\":\"" << (p ? StateName(p->state) : "none")
         << "\",\"islands\":" << pond::CountIslands() << ",\"redFrogs\":" << redOnGrid
         << ",\"pending\":" << g.pendingDialog << ",\"paused\":" << (g.paused ? "true" : "false");
    line << ",\"dialog\":\"" << (dialog ? dialog : "") << '"';
    line << ",\"skill\":" << g.skill << ",\"pond\":\"" << PondMap() << "\",\"flies\":" << RestingFlies()
         << "}";
    return line.str();
}

std::unique_ptr<StateTrace> StateTrace::FromEnvironment() {
    const char* path = std::getenv("MARSHWADE_STATE_LOG");
    if (!path || !*path) return nullptr;
    std::FILE* file = std::fopen(path, "w");
    if (!file) {
        std::fprintf(stderr, "marshwade: cannot write the state log %s: %s\n", path, std::strerror(errno));
        return nullptr;
    }
    return std::make_unique<StateTrace>(file);
}

StateTrace::StateTrace(std::FILE* file) : file_(file) {}

StateTrace::~StateTrace() {
    if (file_) std::fclose(file_);
}

void StateTrace::Write() {
    if (!file_) return;
    const std::string line = Line(++frames_) + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}
